// Spelling with the installed Hunspell dictionaries: which words are read,
// Turkish letters and suffixes, the user's own word list, and the document's
// dictionary as the commands keep it. A Turkish dictionary takes a second or
// two to load, so each test loads it at most once.
#include "commands/SpellingCommands.h"
#include "spelling/PersonalDictionary.h"
#include "spelling/SpellChecker.h"
#include "support/WorkspaceTest.h"

#include <QFile>
#include <QTest>

#include <atomic>
#include <barrier>
#include <thread>
#include <vector>

using namespace korv;
using namespace korv::test;

namespace {

QStringList words(const char *text)
{
    const QString t = QString::fromUtf8(text);
    QStringList out;
    for (const WordSpan &w : wordsToCheck(t))
        out << t.mid(w.start, w.length);
    return out;
}

QStringList unknown(SpellChecker &checker, const char *text)
{
    const QString t = QString::fromUtf8(text);
    QStringList out;
    for (const WordSpan &w : checker.unknownWords(t))
        out << t.mid(w.start, w.length);
    return out;
}

} // namespace

TEST(SpellingWords, MarkupNumbersAndCapitalsAreNotRead)
{
    EXPECT_EQ(words("<i>Yarın</i> {\\an8}İstanbul'da|buluşalım."), QStringList({"Yarın", "İstanbul'da", "buluşalım"}));
    EXPECT_EQ(words("IŞIK, NASA ve 3D; 1990'da 25 kişi"), QStringList({"ve", "kişi"}));
    // A lone capital is a word ("O geldi"); an apostrophe ends a word unless a letter follows.
    EXPECT_EQ(words("O geldi 'tamam' don’t"), QStringList({"O", "geldi", "tamam", "don’t"}));
    EXPECT_EQ(words("<font color=\"red\">kırmızı</font>"), QStringList({"kırmızı"}));
}

TEST(Spelling, TurkishLettersAndSuffixesAfterAnApostrophe)
{
    ASSERT_TRUE(SpellChecker::installedDictionaries().contains("tr_TR")) << "hunspell-tr is installed by setup";
    auto checker = SpellChecker::load("tr_TR");
    ASSERT_TRUE(checker);
    // Words that lower-casing by the English rule would break.
    for (const char *word : {"İzmir", "ılık", "Işık", "ışık", "İstanbul'da", "İstanbul’da", "Ankara'ya"})
        EXPECT_TRUE(checker->isCorrect(QString::fromUtf8(word))) << word;
    EXPECT_FALSE(checker->isCorrect(u"işik"));
    EXPECT_FALSE(checker->isCorrect(u"izmir"));
    // A suffix needs its apostrophe after a name.
    EXPECT_FALSE(checker->isCorrect(u"Ankarada"));
    EXPECT_EQ(unknown(*checker, "<i>IŞIK</i> yarın İstanbul'da {\\an8}güzell bir gün"), QStringList({"güzell"}));
    EXPECT_TRUE(checker->suggestions(u"güzell").contains(QStringLiteral("güzel")));
    checker->addWord(QStringLiteral("güzell"));
    EXPECT_TRUE(unknown(*checker, "güzell bir gün").isEmpty());
    EXPECT_FALSE(SpellChecker::load("xx_XX"));
}

TEST(Spelling, EnglishKnowsItsOwnWords)
{
    auto checker = SpellChecker::load("en_US");
    ASSERT_TRUE(checker);
    EXPECT_EQ(unknown(*checker, "I don't know the colour of teh sky"), QStringList({"colour", "teh"}));
}

// Changing the file's dictionary while the previous one still loads puts two
// loads, and a load and a release, on different threads at once. Each
// dictionary must come out whole, and (in the sanitizer suite) nothing the
// library shares between dictionaries may leak or be freed under another.
TEST(Spelling, DictionariesLoadAndGoOnSeveralThreadsAtOnce)
{
    TestFolder folder;
    for (const QString name : {QStringLiteral("aa_AA"), QStringLiteral("bb_BB")}) {
        folder.write(QStringLiteral("dict/%1.aff").arg(name), "SET UTF-8\nTRY çşğıöüaeilnrk\n");
        folder.write(QStringLiteral("dict/%1.dic").arg(name), "3\nelma\nşeker\nçay\n");
    }
    const QStringList folders{folder.filePath(QStringLiteral("dict"))};
    // Every round starts with no dictionary loaded, all threads loading at
    // the same moment and letting go at the same moment.
    constexpr int kThreads = 4;
    constexpr int kRounds = 60;
    std::barrier together(kThreads);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                together.arrive_and_wait();
                auto checker = SpellChecker::load(t % 2 ? QStringLiteral("aa_AA") : QStringLiteral("bb_BB"), folders);
                if (!checker || !checker->isCorrect(u"şeker") || checker->isCorrect(u"şekr"))
                    ++wrong;
                together.arrive_and_wait();
                checker.reset();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(PersonalDictionary, WordsAreAppendedAndADamagedListIsReadAsFarAsItIsSound)
{
    TestFolder folder;
    const QString path = personalDictionaryPath(folder.filePath("config"), "tr_TR");
    EXPECT_TRUE(readPersonalWords(path).words.isEmpty());
    EXPECT_EQ(appendPersonalWord(path, QStringLiteral("Korvendal")), QString());
    EXPECT_EQ(appendPersonalWord(path, QStringLiteral("altyazıcı")), QString());
    EXPECT_EQ(readPersonalWords(path).words, QStringList({"Korvendal", "altyazıcı"}));
    EXPECT_EQ(readPersonalWords(path).damagedLine, 0);

    // Edited by hand: a line not in UTF-8, binary bytes, two words on a line.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("caf\xE9\nbir iki\n\x01\x02\x03\nsonuncu");
    file.close();
    PersonalWords read = readPersonalWords(path);
    EXPECT_EQ(read.words, QStringList({"Korvendal", "altyazıcı", "sonuncu"}));
    EXPECT_EQ(read.damagedLine, 3);
    EXPECT_EQ(read.skipped, 3);
    // A last line without its line end is ended before the next word.
    EXPECT_EQ(appendPersonalWord(path, QStringLiteral("yeni")), QString());
    EXPECT_TRUE(readPersonalWords(path).words.endsWith("yeni"));
    EXPECT_TRUE(readPersonalWords(path).words.contains("sonuncu"));
}

using DocumentSpellingTest = WorkspaceTest;

TEST_F(DocumentSpellingTest, AddedWordsSurviveARestartAndADamagedListIsTold)
{
    // The built-in texts, with the values filled in.
    folder.language.setCurrentLanguage(QStringLiteral("Yok"));
    ws.spelling.setWordListFolder(folder.filePath("words"));
    const QString path = personalDictionaryPath(folder.filePath("words"), "tr_TR");
    ws.spelling.followDocument();
    EXPECT_EQ(ws.spelling.dictionary(), "tr_TR");
    ws.spelling.waitUntilLoaded();
    ASSERT_TRUE(ws.spelling.checker());
    EXPECT_FALSE(ws.spelling.checker()->isCorrect(u"Korvendal'ın"));
    ws.spelling.addToMyDictionary(QStringLiteral("Korvendal'ın"));
    ws.spelling.ignore(QStringLiteral("blabla"));
    EXPECT_TRUE(ws.spelling.checker()->isCorrect(u"Korvendal'ın"));
    EXPECT_TRUE(ws.spelling.checker()->isCorrect(u"blabla"));
    EXPECT_TRUE(ui.notices.empty());

    // The next run: the added word is known, the ignored one is not; a
    // damaged line in the list is told once and the check goes on.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\xFF\xFE\n");
    file.close();
    Workspace next{ui, folder.language};
    next.spelling.setWordListFolder(folder.filePath("words"));
    next.spelling.followDocument();
    next.spelling.waitUntilLoaded();
    ASSERT_TRUE(next.spelling.checker());
    EXPECT_TRUE(next.spelling.checker()->isCorrect(u"Korvendal'ın"));
    EXPECT_FALSE(next.spelling.checker()->isCorrect(u"blabla"));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.notices[0].message.contains(path)) << ui.notices[0].message.toStdString();
    EXPECT_TRUE(ui.notices[0].message.contains("2")) << ui.notices[0].message.toStdString();

    // A dictionary chosen for a file is remembered for it; "none" too.
    next.currentSubtitleFile = folder.filePath("film.srt");
    next.spelling.choose(QStringLiteral("en_US"));
    EXPECT_EQ(DocumentSpelling::rememberedFor(folder.filePath("film.srt")), "en_US");
    next.spelling.choose(QString());
    EXPECT_EQ(DocumentSpelling::rememberedFor(folder.filePath("film.srt")), "");
    EXPECT_FALSE(next.spelling.checker());
    EXPECT_EQ(DocumentSpelling::rememberedFor(folder.filePath("other.srt")), "tr_TR");
    // One not installed is told, and nothing is checked.
    next.spelling.choose(QStringLiteral("xx_XX"));
    EXPECT_FALSE(next.spelling.checker());
    EXPECT_TRUE(ui.lastNotice().contains("xx_XX"));
}

TEST_F(DocumentSpellingTest, AWholeDocumentIsSpelledOnAWorkerThatCanBeStopped)
{
    auto checker = std::shared_ptr<SpellChecker>(SpellChecker::load("en_US"));
    ASSERT_TRUE(checker);
    std::vector<QString> texts;
    for (int i = 0; i < 5000; ++i)
        texts.push_back(i % 1000 == 7 ? QStringLiteral("a wrnog word") : QStringLiteral("all <i>good</i> words"));
    SpellingRun run(checker, texts);
    int progressed = 0;
    QObject::connect(&run, &SpellingRun::progress, [&](int done, int total) {
        EXPECT_EQ(total, 5000);
        progressed = done;
    });
    bool finished = false;
    QObject::connect(&run, &SpellingRun::finished, [&] { finished = true; });
    run.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
    EXPECT_GT(progressed, 0);
    ASSERT_EQ(run.found().size(), 5u);
    EXPECT_EQ(run.found()[1].row, 1007);
    EXPECT_EQ(run.found()[1].word, "wrnog");
    EXPECT_FALSE(run.wasCancelled());

    // Stopped at once: it ends without reading every row.
    SpellingRun stopped(checker, std::vector<QString>(200000, QStringLiteral("a wrnog word")));
    bool ended = false;
    QObject::connect(&stopped, &SpellingRun::finished, [&] { ended = true; });
    stopped.start();
    stopped.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, 10000));
    EXPECT_TRUE(stopped.wasCancelled());
    EXPECT_LT(stopped.done(), 200000);
}
