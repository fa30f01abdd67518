// The reading checks and the spelling through the real main window: the
// list's column and marks, the labels beside the fields while typing, the
// wavy underline and its menu, the report window and the options window's
// limits.
#include "commands/ReadingCommands.h"
#include "help/OptionsWindow.h"
#include "help/ReadingLimitsBox.h"
#include "help/ReadingReportWindow.h"
#include "locale/ReadingProfileStore.h"
#include "support/WidgetTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class ReadingWindowTest : public Form1Test {
protected:
    void SetUp() override
    {
        // The built-in Turkish texts with their values.
        folder.language.setCurrentLanguage(QStringLiteral("Yok"));
        form.applyOwnTexts();
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QLineEdit *field(int index) const { return form.controls().Text1[std::size_t(index)]; }
    QVariant cellRole(int row, int column, int role)
    {
        return form.listModel().data(form.listModel().index(row, column), role);
    }
    // Red underline pixels in the lower part of a field's picture.
    static int redPixels(QLineEdit *edit)
    {
        const QImage image = edit->grab().toImage();
        int red = 0;
        for (int y = image.height() / 2; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 110 && c.blue() < 110 ? 1 : 0;
            }
        }
        return red;
    }
};

} // namespace

TEST_F(ReadingWindowTest, TheListShowsReadingSpeedBetweenTimesAndTextAndMarksRowsWithATooltip)
{
    ws.list.replaceAll({{"0", "1", "2", "Kısa"}, {"0", "3", "4", "Bu satır bir saniyede okunamayacak kadar uzun"}});
    QTableView *list = form.controls().Listview;
    EXPECT_EQ(list->horizontalHeader()->visualIndex(SubtitleTableModel::kExtraColumn), ColText);
    EXPECT_EQ(cellRole(0, SubtitleTableModel::kExtraColumn, Qt::DisplayRole).toString(), "4");
    EXPECT_TRUE(cellRole(1, SubtitleTableModel::kExtraColumn, Qt::DisplayRole).toString().startsWith(kReadingMark));
    EXPECT_TRUE(cellRole(1, ColStart, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(cellRole(0, ColStart, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(cellRole(1, ColNumber, Qt::ToolTipRole).toString().contains("en çok 17"));
    // Never sized to contents: a fixed row height stays.
    EXPECT_EQ(list->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

TEST_F(ReadingWindowTest, TheLabelsBesideTheFieldsFollowTyping)
{
    ws.list.replaceAll({{"0", "10", "12", "Merhaba"}});
    ws.list.select(0);
    QLabel *speed = form.controls().LblOkumaHizi;
    QLabel *length = form.controls().LblSatirUzunlugu[0];
    EXPECT_EQ(speed->text(), "3.5");
    EXPECT_EQ(length->text(), "7");
    QTest::mouseClick(field(EditFields::Line2), Qt::LeftButton);
    QTest::keyClicks(field(EditFields::Line2), "<i>bugun hava</i> cok guzel, denize gidelim mi, ne dersin?");
    EXPECT_EQ(form.controls().LblSatirUzunlugu[1]->text(), kReadingMark + "51");
    EXPECT_EQ(speed->text(), kReadingMark + "29");
    EXPECT_TRUE(speed->toolTip().contains("Satır 2: 51 karakter; en çok 42."));
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(field(EditFields::Line2), Qt::Key_Backspace);
    EXPECT_EQ(form.controls().LblSatirUzunlugu[1]->text(), "40");
    EXPECT_EQ(speed->text(), kReadingMark + "23.5");
    ws.history.undo();
    EXPECT_EQ(speed->text(), "3.5");
    EXPECT_EQ(form.controls().LblSatirUzunlugu[1]->text(), "");
}

TEST_F(ReadingWindowTest, MisspeltWordsAreUnderlinedAndTheMenuAddsThemToMyDictionary)
{
    ws.spelling.setWordListFolder(folder.configPath());
    ws.list.replaceAll({{"0", "1", "3", "Merhaba"}});
    ws.list.select(0);
    QTest::mouseClick(field(EditFields::Line1), Qt::LeftButton);
    ws.spelling.waitUntilLoaded();
    ASSERT_TRUE(ws.spelling.checker()) << "hunspell-tr is installed by setup";
    const int clean = redPixels(field(EditFields::Line1));
    QTest::keyClicks(field(EditFields::Line1), " kitapp");
    EXPECT_GT(redPixels(field(EditFields::Line1)), clean + 5);

    // The right-click on the word offers to add it; after that it is known
    // and not underlined.
    QLineEdit *line = field(EditFields::Line1);
    line->setCursorPosition(line->text().size());
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction *action : menu->actions())
            offered << action->text();
        if (QAction *add = menu->findChild<QAction *>("mnuSozlugumeEkle"))
            add->trigger();
        menu->close();
    });
    // Inside the last word.
    emit line->customContextMenuRequested(QPoint(line->fontMetrics().horizontalAdvance(line->text()), line->height() / 2));
    EXPECT_TRUE(offered.contains("kitap")) << offered.join(", ").toStdString();
    EXPECT_TRUE(offered.contains("Sözlüğüme ekle"));
    EXPECT_TRUE(offered.contains("Yok say"));
    EXPECT_TRUE(ws.spelling.checker()->isCorrect(u"kitapp"));
    EXPECT_LE(redPixels(field(EditFields::Line1)), clean);
}

TEST_F(ReadingWindowTest, TheReportListsProblemsFixesThemAndChoosesARow)
{
    ws.spelling.choose(QString()); // no dictionary: the reading rules only
    ws.list.replaceAll({{"0", "1", "1.2", "Kısa"}, {"0", "3", "5", "a|b|c"}, {"0", "6", "8", "İyi"}});
    QTest::mouseClick(form.controls().Sekme, Qt::LeftButton, {}, form.controls().Sekme->tabRect(3).center());
    QTest::mouseClick(form.controls().CmdRapor, Qt::LeftButton);
    ReadingReportWindow *report = form.controls().frmRapor;
    ASSERT_TRUE(report && report->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
    // Row 1 is both too fast and too short; one fix mends both.
    ASSERT_EQ(report->lineCount(), 3);
    EXPECT_EQ(report->Liste->topLevelItem(0)->text(1), "Okuma hızı");
    EXPECT_EQ(report->Liste->topLevelItem(0)->text(4), "bitiş 1.84 olur");
    EXPECT_EQ(report->Liste->topLevelItem(1)->text(4), "bitiş 1.84 olur");
    EXPECT_EQ(report->LblOzet->text(), "3 sorun");
    // A double-click chooses the row in the list.
    QTreeWidgetItem *second = report->Liste->topLevelItem(2);
    const QPoint onSecond = report->Liste->visualItemRect(second).center();
    QTest::mouseClick(report->Liste->viewport(), Qt::LeftButton, {}, onSecond);
    EXPECT_EQ(ws.list.selected(), 0); // a click only marks the line
    QTest::mouseDClick(report->Liste->viewport(), Qt::LeftButton, {}, onSecond);
    EXPECT_EQ(ws.list.selected(), 1);
    QTest::mouseClick(report->CmdTumunuDuzelt, Qt::LeftButton);
    EXPECT_EQ(ui.lastNotice(), "1 düzeltme yapıldı; 1 sorun kaldı.");
    EXPECT_EQ(ws.list.cell(0, ColEnd), "1.84");
    EXPECT_EQ(report->lineCount(), 1);
    EXPECT_FALSE(report->CmdTumunuDuzelt->isEnabled());
}

TEST_F(ReadingWindowTest, TheOptionsWindowChangesTheLimitsStoresThemAndRefusesNonNumbers)
{
    ws.list.replaceAll({{"0", "1", "3", "On iki harf var"}});
    EXPECT_FALSE(cellRole(0, ColText, Qt::BackgroundRole).isValid());
    OptionsWindow *options = form.controls().frmSecenekler;
    ReadingLimitsBox *limits = options->limits;
    EXPECT_EQ(limits->TxtSinir[0]->text(), "17");
    EXPECT_EQ(limits->TxtSinir[3]->text(), "0.833");
    limits->TxtSinir[0]->setText("abc");
    options->CmdKapat_Click();
    EXPECT_TRUE(ui.lastNotice().contains("abc"));
    limits->TxtSinir[0]->setText("7");
    options->CmdKapat_Click();
    EXPECT_DOUBLE_EQ(loadReadingProfile().maxCps, 7);
    EXPECT_TRUE(cellRole(0, ColText, Qt::BackgroundRole).isValid());
}

TEST_F(ReadingWindowTest, TheReportAddsTheUnknownWordsWhenTheWorkerHasSpelledThem)
{
    ws.list.replaceAll({{"0", "1", "3", "Merhaba dünya"}, {"0", "4", "6", "Yarın güzell bir gün"}, {"0", "7", "9", "IŞIK"}});
    QTest::mouseClick(form.controls().Sekme, Qt::LeftButton, {}, form.controls().Sekme->tabRect(3).center());
    QTest::mouseClick(form.controls().CmdRapor, Qt::LeftButton);
    ReadingReportWindow *report = form.controls().frmRapor;
    ASSERT_TRUE(report);
    // The dictionary loads and the rows are spelled on workers; the window
    // shows the reading problems meanwhile (none here).
    ASSERT_TRUE(waitUntil([&] { return report->lineCount() == 1; }, 20000)) << report->lineCount();
    EXPECT_EQ(report->rowOfLine(0), 1);
    EXPECT_EQ(report->Liste->topLevelItem(0)->text(1), "Yazım");
    EXPECT_EQ(report->Liste->topLevelItem(0)->text(2), "güzell");
    EXPECT_TRUE(report->Liste->topLevelItem(0)->text(4).isEmpty());
    EXPECT_FALSE(report->Ilerleme->isVisible());
    EXPECT_EQ(report->LblOzet->text(), "1 sorun");
    // A fix elsewhere keeps the spelling lines without spelling again.
    ws.list.setCell(2, ColEnd, QStringLiteral("7.5"));
    QTest::mouseClick(report->CmdYenile, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return report->lineCount() == 2; }, 20000));
    EXPECT_EQ(report->Liste->topLevelItem(0)->text(1), "En kısa süre");
}

TEST_F(ReadingWindowTest, TheDictionaryMenuListsTheInstalledOnesAndRemembersTheChoiceForTheFile)
{
    ws.currentSubtitleFile = folder.filePath("film.srt");
    QMenu *menu = form.controls().mnusozluk;
    EXPECT_EQ(menu->title(), "YAZIM DENETİMİ");
    emit menu->aboutToShow();
    QStringList items;
    QAction *english = nullptr;
    for (QAction *action : menu->actions()) {
        items << action->data().toString();
        if (action->data().toString() == "en_US")
            english = action;
    }
    EXPECT_EQ(items.value(0), "");
    EXPECT_TRUE(items.contains("tr_TR") && items.contains("en_US")) << items.join(", ").toStdString();
    EXPECT_EQ(menu->actions().value(0)->text(), "Yok (yazım denetlenmesin)");
    ASSERT_TRUE(english);
    english->trigger();
    EXPECT_EQ(ws.spelling.dictionary(), "en_US");
    EXPECT_EQ(DocumentSpelling::rememberedFor(folder.filePath("film.srt")), "en_US");
    emit menu->aboutToShow();
    for (QAction *action : menu->actions())
        EXPECT_EQ(action->isChecked(), action->data().toString() == "en_US") << action->text().toStdString();
    // Another file follows its own remembered dictionary, the default here.
    ws.currentSubtitleFile = folder.filePath("other.srt");
    ws.list.replaceAll({{"0", "1", "2", "Merhaba"}});
    EXPECT_EQ(ws.spelling.dictionary(), "tr_TR");
}
