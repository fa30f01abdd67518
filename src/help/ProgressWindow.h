#pragma once
// The small window that stands while long work runs on a worker: what is
// being done, the percent, and a cancel button. It blocks nothing; the user
// goes on working beside it.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korv {

class Language;

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const Language &language, const QString &text, const QString &title, std::function<void()> cancel,
                   QWidget *owner = nullptr);

    QLabel *LblIs = nullptr;
    QProgressBar *Ilerleme = nullptr;
    QPushButton *CmdIptal = nullptr;

    void setPercent(int percent);
    // Closed by the work's end: the cancel is not called.
    void finish();

    // The cancel button, Esc and the window's close box all cancel, once.
    void reject() override;

private:
    std::function<void()> cancel_;
};

} // namespace korv
