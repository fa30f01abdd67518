#pragma once
// Frame rates: the open film's (from its AVI headers) and the one the user
// last confirmed for MicroDVD files, and the frame-rate window's choices.

#include "document/TimeText.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace korv {

struct FrameRates {
    // The film in the preview: stream rate / scale; 0 with no AVI film.
    double film = 0;
    // Confirmed in the frame-rate window; 0 until the first confirmation.
    double microDvd = 0;
};

// The choices of the frame-rate window, in the user's number format.
QStringList frameRateChoices(const NumberFormat &nf);

// What the frame-rate window proposes: the film's rate, or 25 without one.
QString frameRateProposal(double filmFrameRate, const NumberFormat &nf);

// The rates a user may confirm: a film runs at a few dozen frames a second;
// 0 would write every frame as 0, and a rate of thousands is a mistyped one.
constexpr double kLowestFrameRate = 1;
constexpr double kHighestFrameRate = 1000;

// A confirmed rate: a number from 1 to 1000 in the user's number format,
// without group separators ("23.976" typed in a Turkish locale is refused,
// not read as 23976).
std::optional<double> readFrameRate(const QString &text, const NumberFormat &nf);

} // namespace korv
