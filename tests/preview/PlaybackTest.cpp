// The main window with the real player: films the test makes play, the
// overlay and labels follow, and a position names the picture on show.
#include "preview/FilmPreview.h"
#include "preview/QtFilmPlayer.h"
#include "preview/VideoView.h"
#include "support/AviFileWriter.h"
#include "support/WidgetTest.h"

#include <QVideoFrame>
#include <QVideoSink>

using namespace korv;
using namespace korv::test;

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
        form.filmPlayer->open(path);
        form.preview->ReadAviInfo(path);
    }
    bool reaches(int state)
    {
        return QTest::qWaitFor([&] { return form.filmPlayer->playState() == state; }, 8000);
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
    EXPECT_EQ(form.LblCurrentTime->text(), "-");
    open(writeAvi());
    EXPECT_EQ(form.Label7->text(), "10 FPS");
    ASSERT_TRUE(reaches(FilmPlayer::Playing));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.LblAltYazi->text() == "Bir\nİki"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.LblAltYazi->text() == "Üç"; }, 5000));
    EXPECT_GT(form.filmPlayer->position(), 1.5);
    EXPECT_NE(form.LblCurrentTime->text(), "-");
    EXPECT_NE(form.LblCurrentFrame->text(), "0");

    // Paused, a double-click on a row shows the picture at its start.
    form.filmPlayer->pause();
    ASSERT_TRUE(reaches(FilmPlayer::Paused));
    const QPoint cell = form.Listview->visualRect(form.Listview->model()->index(1, 1)).center();
    QTest::mouseClick(form.Listview->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(form.Listview->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_DOUBLE_EQ(form.filmPlayer->position(), 1.65);
    EXPECT_TRUE(showsFrame(16));

    // The same film opened again plays again; a file the player cannot open
    // is no film.
    open(folder.filePath("film.avi"));
    EXPECT_TRUE(reaches(FilmPlayer::Playing));
    form.filmPlayer->open(folder.filePath("missing.avi"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.filmPlayer->position() == -1; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.LblCurrentTime->text() == "-"; }, 1000));
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
    ASSERT_TRUE(reaches(FilmPlayer::Playing));
    // The stream's time stamps start about half a second in; the film's
    // positions start at 0.
    const double start = form.filmPlayer->position();
    EXPECT_LT(start, 0.4);
    EXPECT_GT(form.filmPlayer->mediaPlayer().position() - qint64(start * 1000), 300);

    // Paused a while later, the position names the picture on show (within a
    // frame: the film was made at 25 frames a second from 10). Counted from
    // the stream's stamps it would be five frames off.
    QTest::qWait(1200);
    form.filmPlayer->pause();
    ASSERT_TRUE(reaches(FilmPlayer::Paused));
    QTest::qWait(200);
    EXPECT_TRUE(showsFrame(int(form.filmPlayer->position() * 10), 1)) << form.filmPlayer->position();
}
