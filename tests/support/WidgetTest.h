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
