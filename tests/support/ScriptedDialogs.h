#pragma once
// Answers the user's part in tests and records what the program showed.

#include "help/UserDialogs.h"
#include "support/QtPrinters.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace korv::test {

struct Shown {
    QString message;
    QString title;
};

class ScriptedDialogs : public UserDialogs {
public:
    // What was shown, in order.
    std::vector<Shown> notices;
    std::vector<Shown> questions;
    QStringList messageBoxes;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList frameRateProposals;
    int busyDepth = 0;
    int busyShown = 0;

    // Answers, taken from the front; a question with no answer left fails the test.
    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<FileDialogResult> openAnswers;
    std::deque<FileDialogResult> saveAnswers;
    std::deque<std::optional<double>> frameRates;

    void showNotice(const QString &message, const QString &title) override;
    void showMessageBox(const QString &message) override;
    bool askYesNo(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    FileDialogResult chooseFileToOpen(const FileDialogRequest &request) override;
    FileDialogResult chooseFileToSave(const FileDialogRequest &request) override;
    std::optional<double> askFrameRate(const QString &proposal) override;
    void setBusy(bool busy) override;

    QString lastNotice() const { return notices.empty() ? QString() : notices.back().message; }
    QString lastTitle() const { return notices.empty() ? QString() : notices.back().title; }
};

} // namespace korv::test
