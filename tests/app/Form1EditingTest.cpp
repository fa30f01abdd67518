// The editing tools through the real main window: mouse and keys on its
// widgets, under the offscreen platform.
#include "commands/FileCommands.h"
#include "help/BalloonWindow.h"
#include "support/WidgetTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class Form1EditingTest : public Form1Test {
protected:
    void SetUp() override
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void clickRow(int row)
    {
        const QRect rect = form.controls().Listview->visualRect(form.listModel().index(row, ColText));
        QTest::mouseClick(form.controls().Listview->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickTool(int button)
    {
        QTest::mouseClick(form.controls().Cubuk->widgetForAction(form.controls().CubukButtons[std::size_t(button)]), Qt::LeftButton);
    }
    QLineEdit *field(int index) const { return form.controls().Text1[std::size_t(index)]; }
};

} // namespace

TEST_F(Form1EditingTest, ClickingTypingAndArrowKeysEditTheRowOnScreen)
{
    EXPECT_FALSE(ws.list.isModified()); // the start-up row
    ws.list.replaceAll({{"0", "1", "2", "a|b|c|d"}, {"0", "10", "12.5", "x"}, {"0", "20", "21", "y"}});
    clickRow(1);
    EXPECT_EQ(field(EditFields::Line1)->text(), "x");
    EXPECT_EQ(form.controls().LblUzunluk->text(), "2.5 sn");

    QTest::mouseClick(field(EditFields::Line2), Qt::LeftButton);
    EXPECT_EQ(field(EditFields::Line2)->palette().color(QPalette::Base), QColor(255, 255, 193));
    EXPECT_EQ(form.statusHint(), shownText("016"));
    QTest::keyClicks(field(EditFields::Line2), "Zq");
    EXPECT_EQ(ws.list.cell(1, ColText), "x|Zq");

    QTest::keyClick(field(EditFields::Line2), Qt::Key_Up);
    EXPECT_EQ(form.controls().Listview->currentIndex().row(), 0);
    EXPECT_EQ(field(EditFields::Line3)->text(), "c");
    EXPECT_EQ(ws.list.cell(0, ColText), "a|b|c|d"); // choosing did not write

    form.controls().Listview->setFocus(); // the list's own arrow keys choose rows too
    QTest::keyClick(form.controls().Listview, Qt::Key_Down);
    QTest::keyClick(form.controls().Listview, Qt::Key_Down);
    EXPECT_EQ(field(EditFields::Line1)->text(), "y");
    QTest::mouseClick(form.controls().CmdArayiAc, Qt::LeftButton);
    EXPECT_EQ(ws.list.cell(2, ColEnd), "21.25");
    EXPECT_EQ(form.controls().LblUzunluk->text(), "1.25 sn");
}

TEST_F(Form1EditingTest, LineToolbarFollowsTheRestoreState)
{
    EXPECT_FALSE(form.controls().CubukButtons[2]->isEnabled());
    ws.list.replaceAll({{"0", "1", "2", "a"}, {"0", "3", "4", "b"}});
    clickTool(1);
    EXPECT_EQ(field(EditFields::Line1)->text(), "b");
    EXPECT_TRUE(form.controls().CubukButtons[2]->isEnabled());
    clickTool(2);
    EXPECT_EQ(ws.list.cell(0, ColText), "a");
    EXPECT_FALSE(form.controls().CubukButtons[2]->isEnabled());
    clickTool(0);
    EXPECT_EQ(ws.list.count(), 3);
    EXPECT_EQ(form.controls().Listview->currentIndex().row(), 1);
}

TEST_F(Form1EditingTest, ShiftAndFindPanelsWork)
{
    ws.list.replaceAll({{"0", "10", "12", "first"}, {"0", "14", "16", "second"}});
    form.controls().Sekme->setCurrentIndex(2);
    QTest::mouseClick(form.controls().Option1[1], Qt::LeftButton);
    QTest::keyClicks(field(EditFields::ShiftSeconds), "1.5");
    QTest::mouseClick(form.controls().CmdEkleCikar, Qt::LeftButton);
    EXPECT_EQ(ws.list.cell(0, ColStart), "8.5");
    EXPECT_EQ(ws.list.cell(1, ColEnd), "14.5");

    QTest::keyClicks(field(EditFields::Search), "SEC");
    QTest::mouseClick(form.controls().CmdFind, Qt::LeftButton);
    EXPECT_EQ(form.controls().Listview->currentIndex().row(), 1);
    EXPECT_EQ(field(EditFields::Line1)->text(), "second");
}

TEST_F(Form1EditingTest, UndoAndRedoKeysActOnTheDocumentInTheListAndInAField)
{
    auto *undo = form.controls().mnuGeriAl;
    auto *redo = form.controls().mnuYinele;
    ws.list.replaceAll({{"0", "1", "2", "first"}, {"0", "3", "4", "second"}});
    ws.history.startNew();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), shownText("066"));
    // The search text is no part of the document, and the field keeps no
    // undo of its own.
    field(EditFields::Search)->setFocus();
    QTest::keyClicks(field(EditFields::Search), "abc");
    QTest::keyClick(field(EditFields::Search), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(EditFields::Search)->text(), "abc");

    clickRow(1);
    QTest::mouseClick(field(EditFields::Line1), Qt::LeftButton);
    QTest::keyClicks(field(EditFields::Line1), "XY");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), shownText("066") + ": " + shownText("068"));
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));

    QTest::keyClick(field(EditFields::Line1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ws.list.cell(1, ColText), "second");
    EXPECT_EQ(field(EditFields::Line1)->text(), "second");
    EXPECT_FALSE(ws.list.isModified());
    // Nothing left to undo: the field's own undo does not step in either.
    QTest::keyClick(field(EditFields::Line1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(EditFields::Line1)->text(), "second");
    EXPECT_EQ(redo->text(), shownText("067") + ": " + shownText("068"));
    QTest::keyClick(field(EditFields::Line1), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(field(EditFields::Line1)->text(), "secondXY");

    // In the list: undo, then redo with Ctrl+Shift+Z; the row is chosen again.
    clickTool(1);
    EXPECT_EQ(undo->text(), shownText("066") + ": " + shownText("070"));
    clickRow(0);
    form.controls().Listview->setFocus();
    QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ws.list.count(), 2);
    EXPECT_EQ(form.controls().Listview->currentIndex().row(), 1);
    EXPECT_EQ(field(EditFields::Line1)->text(), "secondXY");
    QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ws.list.count(), 1);
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(Form1EditingTest, TypeDeleteShiftAndThreeUndosSaveTheFileAsItWas)
{
    ws.list.replaceAll({{"0", "1.25", "2.5", "one|two"}, {"0", "3", "4.75", "three"}, {"0", "10", "11", "four"}});
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("before.sub"))};
    ASSERT_TRUE(mnualtyazikaydet_Click(ws, SaveFormat::SubViewer));
    ASSERT_TRUE(openSubtitleFile(ws, folder.filePath("before.sub")));

    clickRow(0);
    QTest::mouseClick(field(EditFields::Line2), Qt::LeftButton);
    QTest::keyClicks(field(EditFields::Line2), " more");
    clickRow(2);
    clickTool(1);
    form.controls().Sekme->setCurrentIndex(2);
    QTest::keyClicks(field(EditFields::ShiftSeconds), "2.5");
    QTest::mouseClick(form.controls().CmdEkleCikar, Qt::LeftButton);
    ASSERT_EQ(ws.list.cell(0, ColStart), "3.75");

    form.controls().Listview->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(ws.list.isModified());
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("after.sub"))};
    ASSERT_TRUE(mnualtyazikaydet_Click(ws, SaveFormat::SubViewer));
    EXPECT_EQ(folder.read("after.sub"), folder.read("before.sub"));
}

namespace {

// The context menu of `field`, opened at its middle: each item's object
// name with its text and whether it can be chosen ("-" when it cannot);
// `choose` names the item to click, if any.
QStringList fieldMenu(QLineEdit *field, const QString &choose = QString())
{
    QStringList items;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            ADD_FAILURE() << "no menu came up";
            return;
        }
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            items << action->objectName() + "=" + action->text() + (action->isEnabled() ? "" : " -");
            if (action->objectName() == choose)
                chosen = action;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    emit field->customContextMenuRequested(field->rect().center());
    return items;
}

} // namespace

TEST_F(Form1EditingTest, AFieldsMenuSpeaksTheWindowsLanguageAndUndoesThroughTheDocument)
{
    ws.list.replaceAll({{"0", "1", "2", "first"}});
    ws.history.startNew();
    QLineEdit *line = field(EditFields::Line1);
    QTest::mouseClick(line, Qt::LeftButton);
    QTest::keyClicks(line, " line");
    line->setSelection(0, 5);
    EXPECT_EQ(fieldMenu(line), QStringList({"edit-undo=M066: M068", "edit-redo=M067 -", "edit-cut=M094",
                                            "edit-copy=M095", "edit-paste=M096" + QString(QApplication::clipboard()->text().isEmpty() ? " -" : ""),
                                            "edit-delete=M097", "select-all=M098"}));
    // Cut is a step of the document, which the menu's undo takes back.
    fieldMenu(line, "edit-cut");
    EXPECT_EQ(ws.list.cell(0, ColText), " line");
    EXPECT_EQ(QApplication::clipboard()->text(), "first");
    line->setCursorPosition(0);
    fieldMenu(line, "edit-paste");
    EXPECT_EQ(ws.list.cell(0, ColText), "first line");
    line->selectAll();
    const QStringList all = fieldMenu(line);
    EXPECT_TRUE(all.contains("select-all=M098 -")) << all.join(", ").toStdString();
    // Typing, cutting and pasting in one field are one step.
    fieldMenu(line, "edit-undo");
    EXPECT_EQ(ws.list.cell(0, ColText), "first");
    EXPECT_EQ(line->text(), "first") << "the field and the row agree";
    EXPECT_FALSE(ws.history.canUndo());
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_TRUE(fieldMenu(line).contains("edit-redo=M067: M068"));
}

TEST_F(Form1EditingTest, AfterTheTourAndASplitTheUsersStepsCanBeUndoneAgain)
{
    auto *undo = form.controls().mnuGeriAl;
    auto *redo = form.controls().mnuYinele;
    ws.list.replaceAll({{"0", "1", "2", "first"}});
    ws.history.startNew();
    QTest::mouseClick(field(EditFields::Line1), Qt::LeftButton);
    QTest::keyClicks(field(EditFields::Line1), "XY");
    clickTool(0);
    QTest::keyClick(field(EditFields::Line1), Qt::Key_Z, Qt::ControlModifier); // the row added
    ASSERT_TRUE(undo->isEnabled() && redo->isEnabled());

    // The tour in Turkish, each balloon closed as it comes up.
    folder.language.setCurrentLanguage("Turkish");
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto *balloon = qobject_cast<BalloonWindow *>(QApplication::activeModalWidget()))
            balloon->close();
    });
    closer.start(10);
    form.Cubuk2_ButtonClick(3);
    closer.stop();
    ASSERT_EQ(ui.notices.size(), 1u) << "the tour's closing words";
    EXPECT_EQ(ws.list.cell(0, ColText), "firstXY");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    form.activateWindow(); // as the balloon's closing gives it back
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.controls().Listview->setFocus();
    QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ws.list.cell(0, ColText), "first");

    // A split into two files.
    QTest::keyClick(form.controls().Listview, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(form.controls().Listview, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(ws.list.count(), 2);
    ws.list.setCell(1, ColStart, "5");
    ws.list.setCell(1, ColEnd, "6");
    ws.list.setCell(1, ColText, "second");
    QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(undo->isEnabled() && redo->isEnabled());
    form.controls().Sekme->setCurrentIndex(1);
    QTest::keyClicks(field(EditFields::SplitPoint), "3");
    ui.saveAnswers = {FileDialogResult::chosen(folder.filePath("one.sub")),
                      FileDialogResult::chosen(folder.filePath("two.sub"))};
    QTest::mouseClick(form.controls().CmdBol, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(folder.filePath("two.sub")));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    form.controls().Listview->setFocus();
    QTest::keyClick(form.controls().Listview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ws.list.cell(1, ColEnd), "");
}
