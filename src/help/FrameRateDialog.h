#pragma once
// frmRate: asks for the frame rate before every MicroDVD read or write and
// proposes the film's.

#include "document/TimeText.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace korv {

class FrameRateDialog : public QDialog {
    Q_OBJECT
public:
    // `notify` shows a notice (the "ERROR..." for a text that is no rate).
    // Rates are shown and read in the number format `numbers`.
    FrameRateDialog(const QString &proposal, std::function<void(const QString &, const QString &)> notify,
                    NumberFormat numbers,
                    QWidget *parent = nullptr);

    // The confirmed rate; empty until OK accepted a number.
    std::optional<double> rate() const { return rate_; }
    QComboBox *combo() const { return combo3_; }

    // Command1 "OK": a rate from 1 to 1000 is confirmed, anything else
    // (a group separator included) shows "ERROR..." and keeps the window.
    void confirm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *label1_ = nullptr;
    QComboBox *combo3_ = nullptr;
    QPushButton *command1_ = nullptr;
    std::function<void(const QString &, const QString &)> notify_;
    NumberFormat numbers_;
    std::optional<double> rate_;
};

} // namespace korv
