#pragma once
// Answers the user's part in tests and records what the program showed.

#include "dialogs/UserDialogs.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
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
        return take(questions, {text, title}, yesNo, false);
    }
    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        return take(questions, {text, title}, yesNoCancel, Answer::Cancel);
    }
    FileDialogResult chooseFileToOpen(const FileDialogRequest &request) override
    {
        return take(openRequests, request, openAnswers, FileDialogResult::cancelled());
    }
    FileDialogResult chooseFileToSave(const FileDialogRequest &request) override
    {
        return take(saveRequests, request, saveAnswers, FileDialogResult::cancelled());
    }
    std::optional<double> askFrameRate(const QString &proposal) override
    {
        return take(frameRateProposals, proposal, frameRates, std::optional<double>{});
    }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    // The progress window: what it said, the percents shown, whether it
    // stands, and its cancel button.
    std::vector<Shown> progressWindows;
    std::vector<int> percents;
    bool progressShown = false;
    void beginProgress(const QString &text, const QString &title, std::function<void()> cancel) override
    {
        progressWindows.push_back({text, title});
        progressShown = true;
        progressCancel_ = std::move(cancel);
    }
    void showProgress(int percent) override
    {
        EXPECT_TRUE(progressShown) << "a percent shown with no progress window";
        percents.push_back(percent);
    }
    void endProgress() override
    {
        progressShown = false;
        progressCancel_ = nullptr;
    }
    // The user presses the progress window's cancel button.
    void cancelProgress()
    {
        ASSERT_TRUE(progressShown) << "no progress window to cancel";
        auto cancel = std::exchange(progressCancel_, nullptr);
        progressShown = false;
        cancel();
    }

    // The notices as "title: message", in order.
    QStringList shown() const
    {
        QStringList out;
        for (const Shown &notice : notices)
            out << notice.title + ": " + notice.message;
        return out;
    }
    QString lastNotice() const { return notices.empty() ? QString() : notices.back().message; }

private:
    std::function<void()> progressCancel_;

    template <typename Asked, typename T>
    static T take(Asked &asked, const typename Asked::value_type &question, std::deque<T> &answers, T fallback)
    {
        asked.push_back(question);
        if (answers.empty()) {
            ADD_FAILURE() << "the program asked a question the test did not answer";
            return fallback;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace korv::test
