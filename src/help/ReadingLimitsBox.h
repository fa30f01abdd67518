#pragma once
// The options window's reading limits: characters a second, characters a
// line, lines, the shortest and longest duration in seconds, and the
// smallest gap in frames and, with no frame rate known, in milliseconds.
// Typed in the user's number format; 0 turns a rule off.

#include "document/ReadingProfile.h"
#include "document/TimeText.h"

#include <QGroupBox>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;

namespace korv {

class ReadingLimitsBox : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kCount = 7;

    ReadingLimitsBox(NumberFormat numbers, QWidget *parent = nullptr);

    std::array<QLabel *, kCount> Label2{};
    std::array<QLineEdit *, kCount> TxtSinir{};

    void setProfile(const ReadingProfile &profile);
    // The profile typed; nothing when a field holds no number of its kind
    // (then `badField` is that field).
    std::optional<ReadingProfile> profile(int *badField = nullptr) const;

private:
    NumberFormat numbers_;
};

} // namespace korv
