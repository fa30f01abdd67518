// The main window with the real player: films the test makes itself play,
// the overlay and labels follow, and a captured position matches the picture.
#include "app/Form1.h"
#include "preview/FilmPreview.h"
#include "preview/QtFilmPlayer.h"
#include "support/AviFileWriter.h"
#include "support/TestFolder.h"

#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

// Frame i of the test films is one colour of hue i * 37 (mod 360).
int hueOfFrame(int frame)
{
    return frame * 37 % 360;
}

class PlaybackTest : public ::testing::Test {
protected:
    TestFolder folder;
    Form1 form;

    PlaybackTest()
    {
        form.show();
        form.workspace().list.replaceAll({{{}, "0", "1.5", "Bir|İki"}, {{}, "1.65", "4", "Üç"}});
        form.workspace().list.renumber();
    }

    // Four seconds at 10 frames a second, MJPEG.
    QString writeAvi()
    {
        AviSpec s;
        s.microSecPerFrame = 100000;
        s.rate = 10;
        s.frames = colourFrames(40, {64, 48});
        s.totalFrames = s.length = 40;
        folder.write("film.avi", buildAvi(s));
        return folder.filePath("film.avi");
    }
    void open(const QString &path)
    {
        form.filmPlayer->open(path);
        form.preview->ReadAviInfo(path);
    }
    bool playing()
    {
        return QTest::qWaitFor([this] { return form.filmPlayer->playState() == FilmPlayer::Playing; }, 8000);
    }
    // True once the picture on show has the colour of `frame` (or, with
    // `slack`, of a frame up to that many before or after it).
    bool showsFrame(int frame, int slack = 0)
    {
        QVideoSink *sink = form.findChild<QVideoWidget *>(QStringLiteral("MediaPlayer1-video"))->videoSink();
        return QTest::qWaitFor(
            [&] {
                const QImage image = sink->videoFrame().toImage();
                if (image.isNull())
                    return false;
                const int hue = image.pixelColor(image.width() / 2, image.height() / 2).hsvHue();
                for (int f = frame - slack; f <= frame + slack; ++f) {
                    const int d = std::abs(hue - hueOfFrame(f));
                    if (std::min(d, 360 - d) <= 12)
                        return true;
                }
                return false;
            },
            4000);
    }
    // Double-click on row `row` of the subtitle list.
    void doubleClickRow(int row)
    {
        const QRect cell = form.Listview->visualRect(form.Listview->model()->index(row, 1));
        QTest::mouseClick(form.Listview->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(form.Listview->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

TEST_F(PlaybackTest, AviFilmPlaysUnderItsSubtitles)
{
    EXPECT_EQ(form.LblCurrentTime->text(), "-");
    open(writeAvi());
    EXPECT_EQ(form.Label7->text(), "10 FPS");
    EXPECT_EQ(form.Label4->text(), "64x48");
    ASSERT_TRUE(playing());
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.LblAltYazi->text() == "Bir\nİki"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.LblAltYazi->text() == "Üç"; }, 5000));
    EXPECT_GT(form.filmPlayer->position(), 1.5);
    EXPECT_NE(form.LblCurrentTime->text(), "-");
    EXPECT_NE(form.LblCurrentFrame->text(), "0");

    // Paused, a double-click on a row shows the picture at its start.
    form.filmPlayer->pause();
    ASSERT_TRUE(QTest::qWaitFor([this] { return form.filmPlayer->playState() == FilmPlayer::Paused; }, 3000));
    doubleClickRow(1);
    EXPECT_DOUBLE_EQ(form.filmPlayer->position(), 1.65);
    EXPECT_TRUE(showsFrame(16));
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
    EXPECT_EQ(form.Label7->text(), "-");
    ASSERT_TRUE(playing());
    // The stream's time stamps start about half a second in; the film's
    // positions start at 0.
    const double start = form.filmPlayer->position();
    const qint64 streamTime = form.filmPlayer->mediaPlayer().position();
    EXPECT_LT(start, 0.4);
    EXPECT_GT(streamTime - qint64(start * 1000), 300);

    // Paused after a while, the position names the picture on show (within
    // a frame: the film was made at 25 frames a second from 10). Counted from
    // the stream's stamps it would be five frames off.
    QTest::qWait(1200);
    form.filmPlayer->pause();
    ASSERT_TRUE(QTest::qWaitFor([this] { return form.filmPlayer->playState() == FilmPlayer::Paused; }, 3000));
    QTest::qWait(200);
    EXPECT_TRUE(showsFrame(int(form.filmPlayer->position() * 10), 1)) << form.filmPlayer->position();
}
