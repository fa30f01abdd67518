// The film panels of the main window, the wait window, the about window, the
// shortcut table, and the real player: films the test makes play, the
// overlay and labels follow, and a position names the picture on show.
#include "app/VideoView.h"
#include "commands/FilmCommands.h"
#include "document/ProgramInfo.h"
#include "help/AboutWindow.h"
#include "help/ShortcutTableWindow.h"
#include "preview/FilmPreview.h"
#include "preview/QtFilmPlayer.h"
#include "support/AviFileWriter.h"
#include "support/TestFilms.h"
#include "support/WidgetTest.h"

#include <QMediaFormat>
#include <QMediaMetaData>
#include <QVideoFrame>
#include <QVideoSink>

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
    EXPECT_EQ(video->mapTo(form.controls().Frame12, QPoint(0, video->height())).y(), form.controls().Picture2->y());
    EXPECT_TRUE(form.controls().MediaPlayer1->geometry().contains(form.controls().Picture2->geometry()));

    QString waitText;
    QPoint waitOffCentre(99, 99);
    auto original = form.controls().filmCommands->showWaitWindow;
    form.controls().filmCommands->showWaitWindow = [&, original] {
        original();
        const auto *wait = form.findChild<QWidget *>(QStringLiteral("frmBilgiAliniyor"));
        ASSERT_TRUE(wait && wait->isVisible());
        waitText = wait->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        waitOffCentre = wait->geometry().center() - form.frameGeometry().center();
    };
    folder.write("film.avi", buildAvi({.totalFrames = 250, .width = 320, .height = 240, .length = 250}));
    // The wait window takes its text from the language file.
    folder.write("Language/Test.lng", "[frmBilgiAliniyor]\r\nLabel1=READING THE FILM'S DETAILS\r\n");
    form.controls().filmCommands->ReadAviInfo(folder.filePath("film.avi"));
    EXPECT_EQ(waitText, "READING THE FILM'S DETAILS");
    EXPECT_LE(waitOffCentre.manhattanLength(), 2);
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("frmBilgiAliniyor")), nullptr);
    EXPECT_EQ(QStringList({form.controls().Label4->text(), form.controls().Label5->text(), form.controls().Label6->text(), form.controls().Label7->text()}),
              QStringList({"320x240", "250", "00:00:10,00", "25 FPS"}));
    ASSERT_EQ(form.controls().ListView1->topLevelItemCount(), 42);
    EXPECT_EQ(form.controls().ListView1->topLevelItem(7)->text(2), "AVI FILE DETAILS");
    EXPECT_TRUE(form.controls().ListView1->topLevelItem(7)->font(2).bold());
    EXPECT_FALSE(form.controls().ListView1->topLevelItem(8)->font(2).bold());
}

TEST_F(FilmPanels, AFilmDroppedOnTheWindowOpensAndItsRowsSpeakTheLanguage)
{
    form.show();
    const QString mkv = testFilm(TestFilm::Mkv23976);
    ASSERT_FALSE(mkv.isEmpty());
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(mkv), QUrl::fromLocalFile(mkv)});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton, {});
    refused.setAccepted(false);
    QApplication::sendEvent(&form, &refused);
    EXPECT_FALSE(refused.isAccepted()) << "two files at once are not one film";

    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(mkv)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &one, Qt::LeftButton, {});
    enter.setAccepted(false);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &one, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &drop);
    ASSERT_TRUE(waitUntil([&] { return ws.film.path() == mkv; }));
    EXPECT_EQ(form.windowTitle(), mkv);
    EXPECT_EQ(form.controls().Label7->text(), "23.976 FPS");
    EXPECT_EQ(form.controls().ListView1->topLevelItem(3)->text(1), "M107");
    EXPECT_EQ(form.controls().ListView1->topLevelItem(3)->text(2), "23.976 (24000/1001)");

    // Another language names the rows and the track menu anew.
    folder.write("Language/Other.lng", "[Msg]\r\n107=RATE :\r\n114=TRACKS\r\n112=%1/%2/%3\r\n");
    folder.language.setCurrentLanguage("Other");
    form.applyOwnTexts();
    EXPECT_EQ(form.controls().ListView1->topLevelItem(3)->text(1), "RATE :");
    auto *tracks = form.findChild<QMenu *>(QStringLiteral("mnusesizi"));
    EXPECT_EQ(tracks->title(), "TRACKS");
    ASSERT_EQ(tracks->actions().size(), 1);
    EXPECT_EQ(tracks->actions()[0]->text(), "1: AAC/2/48000, tur (Turkish)");
}

TEST_F(FilmPanels, HakkindaShowsOurValuesAndOpensTheAddresses)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    bool shown = false;
    whenShown<AboutWindow>([&](AboutWindow *window) {
        shown = true;
        EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label1(55)"))->text(), ProgramInfo::versionText());
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

namespace {

class PlaybackTest : public Form1Test {
protected:
    PlaybackTest()
    {
        form.show();
        ws.list.replaceAll({{{}, "0", "1.5", "Bir|İki"}, {{}, "1.65", "4", "Üç"}});
    }
    // Four seconds at 10 frames a second; frame i has the hue i * 37.
    QString writeAvi()
    {
        AviContents s{.microSecPerFrame = 100000, .totalFrames = 40, .rate = 10, .length = 40};
        s.frames = colourFrames(40, {64, 48});
        folder.write("film.avi", buildAvi(s));
        return folder.filePath("film.avi");
    }
    void open(const QString &path)
    {
        form.controls().filmPlayer->open(path);
        form.controls().filmCommands->ReadAviInfo(path);
    }
    bool reaches(PlayState state)
    {
        return QTest::qWaitFor([&] { return form.controls().filmPlayer->playState() == state; }, 8000);
    }
    // True once the picture on show is frame `frame`, give or take `slack` frames.
    bool showsFrame(int frame, int slack = 0)
    {
        QVideoSink *sink = form.findChild<VideoView *>(QStringLiteral("MediaPlayer1-video"))->videoSink();
        return QTest::qWaitFor(
            [&] {
                const QImage image = sink->videoFrame().toImage();
                const int hue = image.isNull() ? -100 : image.pixelColor(image.rect().center()).hsvHue();
                for (int f = frame - slack; f <= frame + slack; ++f) {
                    const int d = std::abs(hue - f * 37 % 360);
                    if (std::min(d, 360 - d) <= 12)
                        return true;
                }
                return false;
            },
            4000);
    }
};

} // namespace

TEST_F(PlaybackTest, AviFilmPlaysUnderItsSubtitles)
{
    EXPECT_EQ(form.controls().LblCurrentTime->text(), "-");
    // Until a film is opened the media framework is not even started (on a
    // user's first start it scans every plug-in).
    EXPECT_FALSE(form.controls().filmPlayer->started());
    EXPECT_TRUE(form.findChildren<QVideoSink *>().isEmpty());
    form.controls().keypad->FilmCommand(FilmAction::Play); // play with no film: nothing to start
    EXPECT_FALSE(form.controls().filmPlayer->started());
    open(writeAvi());
    EXPECT_TRUE(form.controls().filmPlayer->started());
    EXPECT_EQ(form.controls().Label7->text(), "10 FPS");
    ASSERT_TRUE(reaches(PlayState::Playing));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblAltYazi->text() == "Bir\nİki"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblAltYazi->text() == "Üç"; }, 5000));
    EXPECT_GT(form.controls().filmPlayer->position(), 1.5);
    EXPECT_NE(form.controls().LblCurrentTime->text(), "-");
    EXPECT_NE(form.controls().LblCurrentFrame->text(), "0");

    // Paused, a double-click on a row shows the picture at its start.
    form.controls().filmPlayer->pause();
    ASSERT_TRUE(reaches(PlayState::Paused));
    const QPoint cell = form.controls().Listview->visualRect(form.controls().Listview->model()->index(1, 1)).center();
    QTest::mouseClick(form.controls().Listview->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(form.controls().Listview->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_DOUBLE_EQ(form.controls().filmPlayer->position(), 1.65);
    EXPECT_TRUE(showsFrame(16));

    // The same film opened again plays again; a file the player cannot open
    // is no film.
    open(folder.filePath("film.avi"));
    EXPECT_TRUE(reaches(PlayState::Playing));
    form.controls().filmPlayer->open(folder.filePath("missing.avi"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().filmPlayer->position() == -1; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblCurrentTime->text() == "-"; }, 1000));
}

TEST_F(PlaybackTest, MkvPlaysUnderItsSubtitlesAndTheChosenTrackIsHeard)
{
    const QString mkv = testFilm(TestFilm::TwoTracksMkv);
    ASSERT_FALSE(mkv.isEmpty());
    form.controls().filmCommands->openFilm(mkv);
    EXPECT_EQ(form.controls().Label7->text(), "25 FPS");
    ASSERT_TRUE(reaches(PlayState::Playing));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblAltYazi->text() == "Bir\nİki"; }, 3000));

    // Paused and moved to a known position: the overlay shows the row due
    // there and the frame label counts at 25 a second (62.5 to even).
    form.controls().filmPlayer->pause();
    ASSERT_TRUE(reaches(PlayState::Paused));
    form.controls().filmPlayer->setPosition(2.5);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblAltYazi->text() == "Üç"; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().LblCurrentFrame->text() == "62"; }, 2000))
        << form.controls().LblCurrentFrame->text().toStdString();

    // Both tracks are offered in the container's order, and the player's
    // tracks are in the same order: the second one chosen is the English one.
    QMediaPlayer &player = form.controls().filmPlayer->mediaPlayer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.audioTracks().size() == 2; }, 3000));
    // (Qt names the second track's codec rightly; it has no word of languages.)
    EXPECT_EQ(player.audioTracks()[1].value(QMediaMetaData::AudioCodec).value<QMediaFormat::AudioCodec>(),
              QMediaFormat::AudioCodec::Opus);
    auto *tracks = form.findChild<QMenu *>(QStringLiteral("mnusesizi"));
    ASSERT_EQ(tracks->actions().size(), 2);
    EXPECT_TRUE(tracks->isEnabled());
    EXPECT_TRUE(tracks->actions()[0]->isChecked());
    EXPECT_EQ(tracks->actions()[1]->text(), "2: M112, eng (English)"); // codec, channels and rate in M112
    tracks->actions()[1]->trigger();
    EXPECT_EQ(player.activeAudioTrack(), 1);
    EXPECT_EQ(ws.film.audioTrack(), 1);
    EXPECT_TRUE(tracks->actions()[1]->isChecked());
    EXPECT_FALSE(tracks->actions()[0]->isChecked());

    // Opened again, the film plays the track chosen for it (in a player of
    // its own: one that switched tracks is not reused).
    form.controls().filmCommands->openFilm(mkv);
    ASSERT_TRUE(reaches(PlayState::Playing));
    QMediaPlayer &again = form.controls().filmPlayer->mediaPlayer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.activeAudioTrack() == 1; }, 3000)) << again.activeAudioTrack();
    EXPECT_TRUE(ui.notices.empty()) << ui.lastNotice().toStdString();

    // A film on its first track plays to its end without a word.
    const QString one = testFilm(TestFilm::Mkv23976);
    form.controls().filmCommands->openFilm(one);
    ASSERT_TRUE(reaches(PlayState::Playing));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.controls().filmPlayer->position() > 2.8; }, 8000));
    QTest::qWait(500);
    EXPECT_TRUE(ui.notices.empty()) << ui.lastNotice().toStdString();
}

TEST_F(PlaybackTest, DatFilmCountsFromItsFirstPicture)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg makes the test's MPEG-1 film";
    const QString dat = folder.filePath("film.dat");
    ASSERT_EQ(QProcess::execute(ffmpeg, {"-loglevel", "error", "-y", "-i", writeAvi(), "-r", "25", "-c:v", "mpeg1video",
                                         "-g", "1", "-q:v", "2", "-f", "mpeg", dat}),
              0);
    open(dat);
    EXPECT_EQ(form.controls().Label7->text(), "-"); // no AVI headers to read
    ASSERT_TRUE(reaches(PlayState::Playing));
    // The stream's time stamps start about half a second in; the film's
    // positions start at 0.
    const double start = form.controls().filmPlayer->position();
    EXPECT_LT(start, 0.4);
    EXPECT_GT(form.controls().filmPlayer->mediaPlayer().position() - qint64(start * 1000), 300);

    // Paused a while later, the position names the picture on show (within a
    // frame: the film was made at 25 frames a second from 10). Counted from
    // the stream's stamps it would be five frames off.
    QTest::qWait(1200);
    form.controls().filmPlayer->pause();
    ASSERT_TRUE(reaches(PlayState::Paused));
    QTest::qWait(200);
    EXPECT_TRUE(showsFrame(int(form.controls().filmPlayer->position() * 10), 1)) << form.controls().filmPlayer->position();

    // Opened as a film, the media library describes it.
    form.controls().filmCommands->openFilm(dat);
    EXPECT_EQ(form.controls().Label7->text(), "25 FPS");
}

TEST_F(PlaybackTest, AFilmThePlayerCannotPlayIsToldOnceAndTheWorkStays)
{
    // A damaged film named .dat has no headers to read: the player tells.
    folder.write("broken.dat", QByteArray(64 * 1024, '\x5A'));
    ui.openAnswers.push_back(FileDialogResult::chosen(folder.filePath("broken.dat")));
    form.controls().filmCommands->mnufilmac_Click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !ui.notices.empty(); }, 8000)) << "no word of the failure";
    EXPECT_TRUE(ui.lastNotice().startsWith(shownText("024"))) << ui.lastNotice().toStdString();
    EXPECT_TRUE(ui.lastNotice().endsWith(folder.filePath("broken.dat")));
    QTest::qWait(1000); // GStreamer gives up with more than one error
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(form.controls().filmPlayer->position(), -1);
    EXPECT_EQ(ws.list.count(), 2);
}

#include "FilmWindowTest.moc"
