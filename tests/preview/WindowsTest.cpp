// The film panels of the main window, the wait window, the about window and
// the shortcut table.
#include "help/AboutWindow.h"
#include "help/ProgramInfo.h"
#include "help/ShortcutTableWindow.h"
#include "preview/FilmPreview.h"
#include "preview/VideoView.h"
#include "support/AviFileWriter.h"
#include "support/WidgetTest.h"

using namespace korv;
using namespace korv::test;

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

using FilmPanels = Form1Test;

} // namespace

TEST_F(FilmPanels, InformationAndPictureWithTheWaitWindowStandingOver)
{
    form.show();
    // The video surface covers its siblings: the subtitle strip must never
    // lie under it.
    const auto *video = form.findChild<VideoView *>(QStringLiteral("MediaPlayer1-video"));
    EXPECT_EQ(video->mapTo(form.Frame12, QPoint(0, video->height())).y(), form.Picture2->y());
    EXPECT_TRUE(form.MediaPlayer1->geometry().contains(form.Picture2->geometry()));

    QString waitText;
    QPoint waitOffCentre(99, 99);
    auto original = form.preview->showWaitWindow;
    form.preview->showWaitWindow = [&, original] {
        original();
        const auto *wait = form.findChild<QWidget *>(QStringLiteral("frmBilgiAliniyor"));
        ASSERT_TRUE(wait && wait->isVisible());
        waitText = wait->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        waitOffCentre = wait->geometry().center() - form.frameGeometry().center();
    };
    folder.write("film.avi", buildAvi({.totalFrames = 250, .width = 320, .height = 240, .length = 250}));
    // The wait window takes its text from the language file.
    folder.write("Language/Test.lng", "[frmBilgiAliniyor]\r\nLabel1=READING THE FILM'S DETAILS\r\n");
    form.preview->ReadAviInfo(folder.filePath("film.avi"));
    EXPECT_EQ(waitText, "READING THE FILM'S DETAILS");
    EXPECT_LE(waitOffCentre.manhattanLength(), 2);
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("frmBilgiAliniyor")), nullptr);
    EXPECT_EQ(QStringList({form.Label4->text(), form.Label5->text(), form.Label6->text(), form.Label7->text()}),
              QStringList({"320x240", "250", "00:00:10,00", "25 FPS"}));
    ASSERT_EQ(form.ListView1->topLevelItemCount(), 42);
    EXPECT_EQ(form.ListView1->topLevelItem(7)->text(2), "AVI FILE DETAILS");
    EXPECT_TRUE(form.ListView1->topLevelItem(7)->font(2).bold());
    EXPECT_FALSE(form.ListView1->topLevelItem(8)->font(2).bold());
}

TEST_F(FilmPanels, HakkindaShowsOurValuesAndOpensTheAddresses)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    bool shown = false;
    whenShown<AboutWindow>([&](AboutWindow *window) {
        shown = true;
        EXPECT_EQ(window->objectName(), "frmHakkinda");
        EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label1(55)"))->text(), ProgramInfo::versionText());
        EXPECT_EQ(window->windowTitle(), " Korvendal Altyazı");
        EXPECT_EQ(window->size(), QSize(334, 169));
        QTest::mouseClick(window->lblSitem, Qt::LeftButton);
        QTest::mouseClick(window->lblEmail, Qt::LeftButton);
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    });
    form.Cubuk2_ButtonClick(4);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(catcher.urls, QList<QUrl>({QUrl(QString::fromUtf8(ProgramInfo::kWebAddress)),
                                         QUrl(QStringLiteral("mailto:") + QString::fromUtf8(ProgramInfo::kMailAddress))}));
}

TEST(ShortcutTableTest, LabelsPointAtTheirKeysAndEscCloses)
{
    ShortcutTableWindow window;
    EXPECT_EQ(window.objectName(), "frmKisayollar");
    EXPECT_EQ(window.windowTitle(), " PROGRAMIN KISAYOL TUŞLARI");
    EXPECT_EQ(window.size(), QSize(640, 431));
    EXPECT_EQ(window.Image1->pixmap().size(), QSize(300, 204));
    EXPECT_EQ(window.CmdKapat->text(), "KAPAT (ESC)");
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("Label1(5)"))->text(), "PLAY / PAUSE");
    for (int i = 0; i < ShortcutTableWindow::kLabelCount; ++i) {
        const QRect label = window.Label1[std::size_t(i)]->geometry();
        EXPECT_TRUE(window.rect().contains(label)) << i;
        for (int k = 0; k <= int(ShortcutTableWindow::Key::Decimal); ++k) {
            const auto key = ShortcutTableWindow::Key(k);
            EXPECT_FALSE(label.intersects(ShortcutTableWindow::keyRect(key).translated(window.Image1->pos()))) << i;
        }
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(label.intersects(window.Label1[std::size_t(j)]->geometry())) << i << " " << j;
    }
    for (const auto &connector : ShortcutTableWindow::connectors()) {
        const QLine line = window.connectorLine(connector);
        const QRect key = ShortcutTableWindow::keyRect(connector.key).translated(window.Image1->pos());
        EXPECT_TRUE(key.contains(line.p2())) << connector.label;
        EXPECT_TRUE(window.Label1[std::size_t(connector.label)]->geometry().adjusted(0, 0, 1, 1).contains(line.p1()))
            << connector.label;
    }
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

#include "WindowsTest.moc"
