#include "commands/KeypadShortcuts.h"
#include "commands/SpeechCommands.h"
#include "locale/IniFile.h"
#include "locale/MessageKeys.h"
#include "preview/FilmPreview.h"
#include "preview/KeyCodes.h"
#include "support/ScriptedPlayer.h"
#include "support/WorkspaceTest.h"

#include <QSignalSpy>

using namespace korv;
using namespace korv::test;

namespace {

constexpr int kp(int digit) { return KeyCode::Keypad0 + digit; }

// Speech from 1.0 to 2.0, 3.0 to 4.5 and 6.0 to 7.2 seconds.
const std::vector<sound::SpeechSpan> kSpans{{1.0, 2.0}, {3.0, 4.5}, {6.0, 7.2}};

class VoiceTest : public WorkspaceTest {
protected:
    ScriptedPlayer player;
    FilmPreview film{ws.list, player, ws.frameRates, ws.numbers};
    ScrollLockState scrollLock;
    VoiceOptions voice;
    KeypadShortcuts keys{ws, film, {[] {}, [] { return true; }, [] { return true; }}, scrollLock};

    VoiceTest()
    {
        scrollLock.set(true);
        ws.voiceOptions = [this] { return voice; };
        ws.frameRates.film = 25;
    }
    // Key 4 (start) or 6 (end) pressed with the film at `at`; the field it wrote.
    QString capture(int key, double at)
    {
        player.at = at;
        keys.Form_KeyDown(kp(key), false);
        return field(key == 4 ? EditFields::Start : EditFields::End);
    }
    // The shipped language files, one of them chosen.
    void speak(const char *language)
    {
        for (const char *name : {"Turkish", "English"}) {
            QFile shipped(QStringLiteral(KORV_SOURCE_DIR "/data/Language/%1.lng").arg(name));
            ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
            folder.write(QStringLiteral("Language/%1.lng").arg(name), shipped.readAll());
        }
        folder.language.setCurrentLanguage(QString::fromLatin1(language));
    }
    QStringList starts() const { return column(ColStart); }
    QStringList ends() const { return column(ColEnd); }
};

} // namespace

TEST_F(VoiceTest, KeypadCapturesLandOnTheNearestEdgeWithinReach)
{
    ws.filmSpeech.setSpans(kSpans);
    ws.list.replaceAll(std::vector<SubtitleEntry>(1));
    ws.list.select(0);
    ws.numbers = NumberFormat::comma();
    // Starts: onsets from 600 ms before the press to 200 ms after.
    for (auto [at, shown] : {std::pair{1.55, "1"}, {1.61, "1,61"}, {0.85, "1"}, {0.79, "0,79"}, {3.4, "3"},
                             {2.45, "2,45"}}) {
        EXPECT_EQ(capture(4, at), shown) << at;
    }
    // Ends: offsets from 500 ms before to 300 ms after; the nearest of two.
    for (auto [at, shown] : {std::pair{2.45, "2"}, {2.51, "2,51"}, {1.75, "2"}, {1.69, "1,69"}, {4.2, "4,5"},
                             {7.45, "7,2"}}) {
        EXPECT_EQ(capture(6, at), shown) << at;
    }
    // Where each capture came from, for the strip.
    ASSERT_FALSE(ws.filmSpeech.marks().empty());
    EXPECT_DOUBLE_EQ(ws.filmSpeech.marks().back().from, 7.45);
    EXPECT_DOUBLE_EQ(ws.filmSpeech.marks().back().to, 7.2);
}

TEST_F(VoiceTest, ThePressStandsWithTheOptionOffOrNoSpeechKnown)
{
    ws.list.replaceAll(std::vector<SubtitleEntry>(1));
    ws.list.select(0);
    EXPECT_EQ(capture(4, 1.3), "1.3"); // the sound not analysed yet
    ws.filmSpeech.setSpans(kSpans);
    voice.snapCaptures = false;
    EXPECT_EQ(capture(4, 1.3), "1.3");
    EXPECT_EQ(capture(6, 2.2), "2.2");
    EXPECT_TRUE(ws.filmSpeech.marks().empty());
    voice.snapCaptures = true;
    EXPECT_EQ(capture(4, 1.3), "1");
}

TEST_F(VoiceTest, ACaptureAndItsSnapAreOneStepAtTheDocumentsPrecision)
{
    ws.filmSpeech.setSpans({{1.2346, 2.0}, {3.0, 4.0}});
    setRows({{"", "", "a"}});
    capture(4, 1.5);
    EXPECT_EQ(cell(0, ColStart), "1.23"); // SubViewer: hundredths
    ws.history.undo();
    EXPECT_EQ(cell(0, ColStart), ""); // not the press, the empty time before it
    EXPECT_FALSE(ws.history.canUndo());

    ws.documentFormat = SaveFormat::SubRip;
    capture(4, 1.5);
    EXPECT_EQ(cell(0, ColStart), "1.235"); // milliseconds, halves away from zero

    // A MicroDVD document stores frames: 1.2346 s is nearest frame 31 at 25, read as 1.24.
    ws.documentFormat = SaveFormat::MicroDvd;
    ws.frameRates.microDvd = 25;
    capture(4, 1.5);
    EXPECT_EQ(cell(0, ColStart), "1.24");
    ws.frameRates.microDvd = 23.976; // frame 30 at 23.976 is 1.2513 s
    capture(4, 1.5);
    EXPECT_EQ(cell(0, ColStart), "1.25");
}

TEST_F(VoiceTest, SnapRowsMovesEdgesInReachKeepsGapAndDurationAndTellsOnce)
{
    speak("English");
    ws.filmSpeech.setSpans({{1.0, 2.0}, {2.05, 2.4}, {5.0, 5.3}, {8.0, 9.0}});
    setRows({{"1.3", "2.3", "late by 300 ms; its end takes 2.0, as 2.4 is within the gap to the next row"},
             {"2.35", "2.6", "the onset 2.05 lies within the gap after row 1: held; the end gets 0.7 s"},
             {"5.2", "5.45", "the offset 5.3 would leave 0.1 s: 0.7 s instead"},
             {"12", "13", "no speech near"}});
    voice.minGapFrames = 2; // at 25 fps: 80 ms
    snapRowsToVoice(ws, {0, 1, 2, 3});
    EXPECT_EQ(starts(), QStringList({"1", "2.35", "5", "12"}));
    EXPECT_EQ(ends(), QStringList({"2", "3.05", "5.7", "13"}));
    EXPECT_EQ(ui.lastNotice(),
              "Snapped to the voice: 2 starts and 3 ends moved to an edge of speech; 1 starts and 1 ends had no speech "
              "within reach; 1 times stayed where they were to keep the least gap and the shortest duration.");
    ws.history.undo(); // one step
    EXPECT_EQ(starts(), QStringList({"1.3", "2.35", "5.2", "12"}));
    EXPECT_EQ(ends(), QStringList({"2.3", "2.6", "5.45", "13"}));
    EXPECT_FALSE(ws.history.canUndo());

    speak("Turkish");
    voice.minDuration = 0.2; // now the offset is far enough
    snapRowsToVoice(ws, {2});
    EXPECT_EQ(starts(), QStringList({"1.3", "2.35", "5", "12"}));
    EXPECT_EQ(ends(), QStringList({"2.3", "2.6", "5.3", "13"}));
    EXPECT_EQ(ui.lastNotice(), "Sese oturtma bitti: 1 başlangıç ve 1 bitiş konuşmanın kenarına taşındı; 0 başlangıcın "
                               "ve 0 bitişin yakınında konuşma yoktu; 0 zaman en az ara ve en kısa süre kuralları "
                               "yüzünden yerinde kaldı.");
}

TEST_F(VoiceTest, SnapRowsKeepsToTheHighlightedRowsBetweenTheirNeighbours)
{
    ws.filmSpeech.setSpans({{1.0, 2.0}, {3.0, 4.0}, {6.0, 7.0}});
    setRows({{"1.2", "3.1", "a"}, {"3.3", "4.2", "b"}, {"6.3", "7.2", "c"}}, 2);
    // Rows 1 and 3 stay though edges lie within their reach; row 1's end
    // bounds row 2's start, so the onset 3.0 before it is not taken.
    snapRowsToVoice(ws, {1});
    EXPECT_EQ(starts(), QStringList({"1.2", "3.3", "6.3"}));
    EXPECT_EQ(ends(), QStringList({"3.1", "4", "7.2"}));
    snapRowsToVoice(ws, {}); // none highlighted: the chosen row
    EXPECT_EQ(starts(), QStringList({"1.2", "3.3", "6"}));
    EXPECT_EQ(ends(), QStringList({"3.1", "4", "7"}));
    EXPECT_EQ(ws.fields.text(EditFields::Start), "6"); // the edit panel shows the chosen row's new times
}

TEST_F(VoiceTest, SnapRowsWithoutSpeechOrWithABadTimeChangesNothing)
{
    speak("English");
    setRows({{"1.2", "2.2", "a"}, {"x", "4", "b"}});
    snapRowsToVoice(ws, {0, 1});
    EXPECT_EQ(ui.lastNotice(), "No speech is known for the film yet: open a film with sound and wait until its sound "
                               "has been analysed. Nothing was changed.");
    ws.filmSpeech.setSpans(kSpans);
    snapRowsToVoice(ws, {0, 1});
    EXPECT_TRUE(ui.lastNotice().endsWith("2")) << ui.lastNotice().toStdString(); // names row 2
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(starts(), QStringList({"1.2", "x"}));
    EXPECT_FALSE(ws.history.canUndo());
}

TEST_F(VoiceTest, FitAsksInBothLanguagesAndAppliesOnYesAsOneStep)
{
    // Speech at 10 s intervals; rows timed at 25 fps on a 23.976 fps copy, 3.217 s early.
    std::vector<sound::SpeechSpan> spans;
    for (int i = 0; i < 30; ++i) {
        const double start = 5 + i * 7.3 + (i % 3) * 0.4, end = start + 1.5 + (i % 4) * 0.3;
        spans.push_back({std::round(start * 100) / 100, std::round(end * 100) / 100});
    }
    std::vector<SubtitleEntry> rows;
    for (const auto &s : spans) {
        const double ratio = 25 / 23.976;
        rows.push_back({"0", SecondsToText(std::round((s.start - 3.217) / ratio * 1000) / 1000, ws.numbers),
                        SecondsToText(std::round((s.end - 3.217) / ratio * 1000) / 1000, ws.numbers), "x"});
    }
    ws.filmSpeech.setSpans(spans);
    ws.frameRates.film = 23.976;
    ws.list.replaceAll(rows);
    ws.list.renumber();
    ws.history.startNew();

    VoiceFit fit(ws);
    QSignalSpy done(&fit, &VoiceFit::done);
    speak("English");
    ui.yesNo = {false};
    fit.start();
    EXPECT_TRUE(fit.running());
    ASSERT_TRUE(done.wait(10000));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, "+3.217 s, 25 \u2192 23.976 fps: apply?");
    EXPECT_FALSE(ws.history.canUndo()); // No changes nothing

    speak("Turkish");
    ui.yesNo = {true};
    fit.start();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(ui.questions[1].message, "+3.217 sn, 25 \u2192 23.976 kare/sn: uygulansın mı?");
    for (int i = 0; i < int(spans.size()); ++i) {
        const auto start = TextToSeconds(cell(i, ColStart), ws.numbers);
        ASSERT_TRUE(start);
        EXPECT_NEAR(*start, spans[std::size_t(i)].start, 0.02) << i;
    }
    ws.history.undo();
    EXPECT_EQ(cell(0, ColStart), rows[0].start);
    EXPECT_FALSE(ws.history.canUndo());

    // The user's decimal separator, and a shift alone.
    ws.numbers = NumberFormat::comma();
    sound::FitResult early;
    early.found = true;
    early.offset = -0.25;
    EXPECT_EQ(fitQuestion(ws, early), "-0,250 sn: uygulansın mı?");
}

TEST_F(VoiceTest, FitTellsWhenItFindsNothingOrNothingIsToChange)
{
    speak("English");
    VoiceFit fit(ws);
    QSignalSpy done(&fit, &VoiceFit::done);
    setRows({{"1", "2", "a"}, {"3", "4.5", "b"}, {"6", "7.2", "c"}});
    fit.start();
    EXPECT_FALSE(fit.running());
    EXPECT_EQ(ui.lastNotice().left(20), "No speech is known f");

    ws.filmSpeech.setSpans(kSpans);
    fit.start();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(ui.lastNotice(), "The subtitles already lie on the film's speech; there is nothing to change.");

    setRows({{"100", "100.4", "a"}, {"101", "103", "b"}, {"140", "141", "c"}, {"170", "171", "d"}, {"177", "190", "e"}});
    ws.filmSpeech.setSpans({{1.0, 1.1}});
    fit.start();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_TRUE(ui.lastNotice().startsWith("The subtitles could not be laid")) << ui.lastNotice().toStdString();
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(VoiceTest, TheFitStandsInAProgressWindowAndItsCancelChangesNothing)
{
    // Lines 1.7 s late on speech every few seconds.
    std::vector<sound::SpeechSpan> spans;
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 40; ++i) {
        const double start = 3 + i * 4.7 + (i % 3) * 0.6;
        spans.push_back({start, start + 1.1 + (i % 4) * 0.4});
        rows.push_back({"0", SecondsToText(start + 1.7, ws.numbers), SecondsToText(spans.back().end + 1.7, ws.numbers),
                        "x"});
    }
    ws.filmSpeech.setSpans(spans);
    ws.list.replaceAll(rows);
    ws.list.renumber();
    ws.history.startNew();
    speak("English");

    VoiceFit fit(ws);
    QSignalSpy done(&fit, &VoiceFit::done), stopped(&fit, &VoiceFit::stopped);
    fit.start();
    ASSERT_TRUE(ui.progressShown);
    ASSERT_EQ(ui.progressWindows.size(), 1u);
    EXPECT_EQ(ui.progressWindows[0].message, "Fitting the subtitles to the film's sound…");
    EXPECT_EQ(ui.progressWindows[0].title, "FIT THE SUBTITLES TO THE FILM'S SOUND");
    // The user cancels at once; even a search over by then changes nothing.
    ui.cancelProgress();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_FALSE(fit.running());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(starts().first(), rows[0].start);
    EXPECT_FALSE(ws.history.canUndo());

    // Run again to its end: the percent rises to 100 and the window is gone
    // before the question.
    ui.yesNo = {true};
    fit.start();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_FALSE(ui.progressShown);
    ASSERT_FALSE(ui.percents.empty());
    EXPECT_TRUE(std::is_sorted(ui.percents.begin(), ui.percents.end()));
    EXPECT_EQ(ui.percents.back(), 100);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message, "-1.700 s: apply?");
    EXPECT_EQ(TextToSeconds(cell(0, ColStart), ws.numbers), spans[0].start);
}
