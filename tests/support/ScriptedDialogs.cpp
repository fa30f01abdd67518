#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace korv::test {

namespace {

template <typename T>
T take(std::deque<T> &answers, const char *what, T fallback)
{
    if (answers.empty()) {
        ADD_FAILURE() << "the program asked an unexpected " << what;
        return fallback;
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

void ScriptedDialogs::showNotice(const QString &message, const QString &title)
{
    notices.push_back({message, title});
}

void ScriptedDialogs::showMessageBox(const QString &message)
{
    messageBoxes << message;
}

bool ScriptedDialogs::askYesNo(const QString &text, const QString &title)
{
    questions.push_back({text, title});
    return take(yesNo, "yes/no question", false);
}

Answer ScriptedDialogs::askYesNoCancel(const QString &text, const QString &title)
{
    questions.push_back({text, title});
    return take(yesNoCancel, "yes/no/cancel question", Answer::Cancel);
}

FileDialogResult ScriptedDialogs::chooseFileToOpen(const FileDialogRequest &request)
{
    openRequests.push_back(request);
    return take(openAnswers, "open dialog", FileDialogResult::cancelled());
}

FileDialogResult ScriptedDialogs::chooseFileToSave(const FileDialogRequest &request)
{
    saveRequests.push_back(request);
    return take(saveAnswers, "save dialog", FileDialogResult::cancelled());
}

std::optional<double> ScriptedDialogs::askFrameRate(const QString &proposal)
{
    frameRateProposals << proposal;
    return take(frameRates, "frame-rate window", std::optional<double>{});
}

void ScriptedDialogs::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    if (busy)
        ++busyShown;
}

} // namespace korv::test
