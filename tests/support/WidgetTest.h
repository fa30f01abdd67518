#pragma once
// What tests of the real windows use: the widgets with QTest input, a private
// program folder and scripted answers.

#include "app/Form1.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace korv::test {

// The main window over scripted answers; tests show it when they need to.
class Form1Test : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs ui;
    Form1 form{&ui};
    Workspace &ws = form.workspace();
};

// Processes events until `done` holds; false when it did not within `ms`.
// (QTest's QTRY_ macros report to QTest, not to GoogleTest: a timeout there
// would end a test silently as passed.)
template <typename Done>
bool waitUntil(Done done, int ms = 5000)
{
    return QTest::qWaitFor(done, ms);
}

// Runs `step` on the modal window of type W once it is up.
template <typename W, typename Step>
void whenShown(Step step)
{
    QTimer::singleShot(0, [step] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget()))
            step(window);
        else
            ADD_FAILURE() << "no window came up";
    });
}

} // namespace korv::test
