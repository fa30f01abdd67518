#pragma once
// Answers the user's part in tests and records what the program showed.

#include "help/UserDialogs.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

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
    std::vector<Shown> notices, questions;
    QStringList messageBoxes, frameRateProposals;
    std::vector<FileDialogRequest> openRequests, saveRequests;
    int busyDepth = 0;

    // Answers, taken from the front; a question with no answer left fails the test.
    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<FileDialogResult> openAnswers, saveAnswers;
    std::deque<std::optional<double>> frameRates;

    void showNotice(const QString &message, const QString &title) override { notices.push_back({message, title}); }
    void showMessageBox(const QString &message) override { messageBoxes << message; }
    bool askYesNo(const QString &text, const QString &title) override
    {
        questions.push_back({text, title});
        return take(yesNo, "yes/no question", false);
    }
    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        questions.push_back({text, title});
        return take(yesNoCancel, "yes/no/cancel question", Answer::Cancel);
    }
    FileDialogResult chooseFileToOpen(const FileDialogRequest &request) override
    {
        openRequests.push_back(request);
        return take(openAnswers, "open dialog", FileDialogResult::cancelled());
    }
    FileDialogResult chooseFileToSave(const FileDialogRequest &request) override
    {
        saveRequests.push_back(request);
        return take(saveAnswers, "save dialog", FileDialogResult::cancelled());
    }
    std::optional<double> askFrameRate(const QString &proposal) override
    {
        frameRateProposals << proposal;
        return take(frameRates, "frame-rate window", std::optional<double>{});
    }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    // The notices as "title: message", in order.
    QStringList shown() const
    {
        QStringList out;
        for (const Shown &notice : notices)
            out << notice.title + ": " + notice.message;
        return out;
    }
    QString lastNotice() const { return notices.empty() ? QString() : notices.back().message; }
    QString lastTitle() const { return notices.empty() ? QString() : notices.back().title; }

private:
    template <typename T>
    static T take(std::deque<T> &answers, const char *what, T fallback)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "the program asked an unexpected " << what;
            return fallback;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace korv::test
