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
    Form1 form{folder.language, &ui};
    Workspace &ws = form.workspace();

    // Times in tests are written with ".", whatever the machine's locale.
    Form1Test() { ws.numbers = NumberFormat::dot(); }
};

// Processes events until `done` holds; false when it did not within `ms`.
// (QTest's QTRY_ macros report to QTest, not to GoogleTest: a timeout there
// would end a test silently as passed.)
template <typename Done>
bool waitUntil(Done done, int ms = 5000)
{
    return QTest::qWaitFor(done, ms);
}

// Controls of a window whose caption does not fit them ("name: caption"): a
// wrapping one too low for its lines, any other narrower than its text.
inline QStringList cutCaptions(const QWidget *window)
{
    QStringList cut;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window)
            continue; // a window of its own (the options window, loaded hidden)
        QString text;
        if (auto *label = qobject_cast<const QLabel *>(w)) {
            if (!label->pixmap().isNull())
                continue;
            text = label->text();
        } else if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
            if (qobject_cast<const QToolBar *>(w->parentWidget()))
                continue; // the toolbar sizes its own buttons
            text = button->text();
        }
        if (text.isEmpty())
            continue;
        bool fits = w->hasHeightForWidth() ? w->heightForWidth(w->width()) <= w->height()
                                           : w->sizeHint().width() <= w->width();
        // A push button's size hint has a style's minimum width; its text
        // needs only its margins.
        if (qobject_cast<const QPushButton *>(w))
            fits = w->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&')))
                    + 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin)
                <= w->width();
        if (!fits)
            cut << w->objectName() + ": " + text;
    }
    return cut;
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
