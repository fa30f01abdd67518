// Recovery copies: when a copy is written and when it goes, and what the next
// start offers and brings back.
#include "commands/LineCommands.h"
#include "commands/RecoveryCopies.h"
#include "locale/MessageKeys.h"
#include "locale/Registry.h"
#include "support/WorkspaceTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>

using namespace korv;
using namespace korv::test;

namespace {

class RecoveryTest : public WorkspaceTest {
protected:
    QString recoveryFolder = folder.filePath("recovery");
    std::unique_ptr<RecoveryCopies> running = std::make_unique<RecoveryCopies>(ws, recoveryFolder, 30);
    RecoveryCopies &copies = *running;

    RecoveryTest()
    {
        // The question's parts, to see each in its place.
        folder.write("Language/Test.lng", "[Msg]\r\n079=on %1 at %2: %3, %4 rows\r\n080=untitled\r\n"
                                          "081=unreadable: %1\r\n270=no copies in %1\r\n");
        setRows({{"1", "2", "first"}, {"3", "4", "second|line"}, {"5", "x", "third"}});
    }

    QStringList copiesOnDisk() const { return QDir(recoveryFolder).entryList({"*.json"}, QDir::Files); }
    void typeInto(int field, const QString &text) { ws.fields.setText(field, text); }
    // A copy of rows of `texts` left by a program that is gone; its bytes.
    QByteArray leaveCopy(const QString &name, const QStringList &texts, qsizetype cut = -1)
    {
        RecoveryCopy copy;
        for (const QString &text : texts)
            copy.rows.push_back({"1", "1", "2", text});
        copy.selected = 0;
        copy.format = "subviewer";
        copy.written = QDateTime::currentDateTime();
        QByteArray json = recoveryCopyJson(copy);
        if (cut >= 0)
            json.truncate(cut);
        QDir().mkpath(recoveryFolder);
        QFile file(QDir(recoveryFolder).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
        return json;
    }
    void writeCopy()
    {
        copies.writeNow();
        copies.waitForWrites();
    }
};

// A second program started on the same folder after this one, with its own
// document and answers.
struct NextStart {
    ScriptedDialogs ui;
    Workspace ws;
    RecoveryCopies copies;
    NextStart(TestFolder &folder, const QString &recoveryFolder)
        : ws(ui, folder.language), copies(ws, recoveryFolder, 30)
    {
        ws.numbers = NumberFormat::dot();
    }
};

} // namespace

TEST_F(RecoveryTest, CopyIsWrittenOnlyWhileTheDocumentHasUnsavedChanges)
{
    writeCopy();
    EXPECT_TRUE(copiesOnDisk().isEmpty()) << "an unchanged document needs no copy";

    typeInto(EditFields::Line1, "fist");
    QSignalSpy written(&copies, &RecoveryCopies::copyWritten);
    writeCopy();
    ASSERT_EQ(copiesOnDisk(), QStringList{QFileInfo(copies.copyPath()).fileName()});
    ASSERT_TRUE(written.wait(1000));
    EXPECT_TRUE(written.first().first().toBool());

    // Undoing back to the state on disk makes the copy needless.
    ws.history.undo();
    copies.waitForWrites();
    EXPECT_TRUE(copiesOnDisk().isEmpty());

    ws.history.redo();
    writeCopy();
    EXPECT_EQ(copiesOnDisk().size(), 1);
    ws.history.markSaved(); // what every save ends with
    copies.waitForWrites();
    EXPECT_TRUE(copiesOnDisk().isEmpty());

    deleteRow(ws);
    writeCopy();
    EXPECT_EQ(copiesOnDisk().size(), 1);
    copies.discard(); // a normal close
    EXPECT_TRUE(copiesOnDisk().isEmpty());
}

TEST_F(RecoveryTest, CopyFollowsThePeriodAfterAChange)
{
    RecoveryCopies quick(ws, folder.filePath("quick"), 1);
    QSignalSpy written(&quick, &RecoveryCopies::copyWritten);
    typeInto(EditFields::Start, "1.5");
    EXPECT_FALSE(written.wait(500)) << "written before the period was over";
    ASSERT_TRUE(written.wait(1500));
    EXPECT_TRUE(QFile::exists(quick.copyPath()));
}

TEST_F(RecoveryTest, NothingIsKeptWhenTurnedOffOrDuringTheTour)
{
    RecoveryCopies off(ws, folder.filePath("off"), 0);
    typeInto(EditFields::Line1, "changed");
    off.writeNow();
    off.waitForWrites();
    EXPECT_FALSE(off.active());
    EXPECT_FALSE(QFile::exists(off.copyPath()));

    // The help tour's sample rows are no one's work.
    {
        DocumentHistory::Pause tour(ws.history);
        ws.list.setCell(0, ColText, "sample");
        writeCopy();
    }
    EXPECT_TRUE(copiesOnDisk().isEmpty());
}

TEST_F(RecoveryTest, AutosaveSettingGivesThePeriod)
{
    EXPECT_EQ(RecoveryCopies::periodFromSettings(), 30);
    for (const auto &[value, seconds] : std::vector<std::pair<QString, int>>{
             {"0", 0}, {"5", 5}, {" 120 ", 120}, {"-3", 30}, {"ten", 30}, {"2.5", 30}, {"99999999999", 30}}) {
        SaveRegSetting("autosave", value);
        EXPECT_EQ(RecoveryCopies::periodFromSettings(), seconds) << value.toStdString();
    }
}

TEST_F(RecoveryTest, NextStartBringsTheDocumentBackExactly)
{
    ws.currentSubtitleFile = folder.filePath("film.sub");
    ws.documentFormat = SaveFormat::MicroDvd;
    ws.frameRates.microDvd = 23.976;
    ws.list.select(1);
    typeInto(EditFields::Line2, "line, typed");
    addRow(ws);
    const std::vector<SubtitleEntry> changed = ws.list.rows();
    const int selected = ws.list.selected();
    writeCopy();

    {
        NextStart beside(folder, recoveryFolder);
        beside.copies.offerLeftCopies();
        EXPECT_TRUE(beside.ui.questions.empty()) << "a copy whose program still runs was offered";
    }
    EXPECT_EQ(copiesOnDisk().size(), 1);

    running.reset(); // the program is gone without closing
    NextStart next(folder, recoveryFolder);
    next.ui.yesNoCancel = {Answer::Yes};
    next.copies.offerLeftCopies();
    ASSERT_EQ(next.ui.questions.size(), 1u);
    const QString question = next.ui.questions[0].message;
    const QLocale locale = QLocale::system();
    EXPECT_TRUE(question.startsWith("on " + locale.toString(QDate::currentDate(), QLocale::ShortFormat) + " at "))
        << question.toStdString();
    EXPECT_TRUE(question.endsWith(": " + QDir::toNativeSeparators(folder.filePath("film.sub")) + ", 4 rows"))
        << question.toStdString();

    EXPECT_EQ(next.ws.list.rows(), changed);
    EXPECT_EQ(next.ws.list.selected(), selected);
    EXPECT_EQ(next.ws.fields.text(EditFields::Start), changed[std::size_t(selected)].start);
    EXPECT_EQ(next.ws.currentSubtitleFile, folder.filePath("film.sub"));
    EXPECT_EQ(next.ws.documentFormat, SaveFormat::MicroDvd);
    EXPECT_EQ(next.ws.frameRates.microDvd, 23.976);
    EXPECT_TRUE(next.ws.list.isModified());
    EXPECT_FALSE(next.ws.history.canUndo()) << "the history starts afresh";

    // The old copy gave way to the new program's own.
    next.copies.waitForWrites();
    EXPECT_EQ(copiesOnDisk(), QStringList{QFileInfo(next.copies.copyPath()).fileName()});
}

TEST_F(RecoveryTest, NoDeletesTheCopyCancelKeepsIt)
{
    typeInto(EditFields::Line1, "lost?");
    writeCopy();
    running.reset();
    {
        NextStart later(folder, recoveryFolder);
        later.ui.yesNoCancel = {Answer::Cancel};
        later.copies.offerLeftCopies();
        EXPECT_EQ(later.ui.questions.size(), 1u);
        EXPECT_EQ(later.ws.list.count(), 0);
    }
    EXPECT_EQ(copiesOnDisk().size(), 1) << "Cancel asks again at the next start";
    {
        NextStart last(folder, recoveryFolder);
        last.ui.yesNoCancel = {Answer::No};
        last.copies.offerLeftCopies();
        EXPECT_EQ(last.ui.questions.size(), 1u);
        EXPECT_EQ(last.ws.list.count(), 0);
    }
    EXPECT_TRUE(copiesOnDisk().isEmpty());
}

TEST_F(RecoveryTest, UntitledAndUnreadableCopies)
{
    running.reset();
    const QByteArray whole = leaveCopy("a.json", {"a", "b"});
    leaveCopy("b.json", {"a", "b"}, whole.size() / 2); // cut short by a full disk

    NextStart next(folder, recoveryFolder);
    next.ui.yesNoCancel = {Answer::No};
    next.copies.offerLeftCopies();
    ASSERT_EQ(next.ui.questions.size(), 1u);
    EXPECT_TRUE(next.ui.questions[0].message.endsWith(": untitled, 2 rows")) << next.ui.questions[0].message.toStdString();
    ASSERT_EQ(next.ui.notices.size(), 1u);
    EXPECT_EQ(next.ui.notices[0].message,
              "unreadable: " + QDir::toNativeSeparators(QDir(recoveryFolder).filePath("b.json")));
    EXPECT_EQ(copiesOnDisk(), QStringList{"b.json"}) << "an unreadable copy is never deleted";
}

TEST_F(RecoveryTest, SecondCopyBroughtBackAsksAboutTheFirst)
{
    running.reset();
    leaveCopy("one.json", {"one"});
    leaveCopy("two.json", {"two"});
    NextStart next(folder, recoveryFolder);
    // Yes to the first; Yes to the second, then Cancel to the question about
    // the first one's unsaved rows: the second copy stays for later.
    next.ui.yesNoCancel = {Answer::Yes, Answer::Yes, Answer::Cancel};
    next.copies.offerLeftCopies();
    EXPECT_EQ(next.ui.questions.size(), 3u);
    ASSERT_EQ(next.ws.list.count(), 1);
    const QString first = next.ws.list.cell(0, ColText);
    EXPECT_TRUE(first == "one" || first == "two");
    next.copies.waitForWrites();
    EXPECT_EQ(copiesOnDisk().size(), 2) << "the other copy and the program's own";
}

TEST_F(RecoveryTest, TheQuestionWritesTheDateAsTheWindowsLanguageDoes)
{
    running.reset();
    for (const char *name : {"English", "Turkish"})
        folder.write(QStringLiteral("Language/%1.lng").arg(QLatin1String(name)), folder.read("Language/Test.lng"));
    RecoveryCopy left;
    left.rows = {{"1", "1", "2", "a"}};
    left.format = "subviewer";
    left.written = QDateTime(QDate(2026, 3, 4), QTime(17, 6));
    QDir().mkpath(recoveryFolder);
    const QString path = QDir(recoveryFolder).filePath("left.json");
    for (const auto &[language, when] : {std::pair{"Turkish", "on 4.03.2026 at 17:06"}, {"English", "on 3/4/26 at 5:06 PM"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(recoveryCopyJson(left));
        file.close();
        folder.language.setCurrentLanguage(QString::fromLatin1(language));
        NextStart next(folder, recoveryFolder);
        next.ui.yesNoCancel = {Answer::Cancel};
        next.copies.offerLeftCopies();
        ASSERT_EQ(next.ui.questions.size(), 1u);
        EXPECT_TRUE(next.ui.questions[0].message.startsWith(QString::fromUtf8(when)))
            << language << ": " << next.ui.questions[0].message.toStdString();
    }
}

TEST_F(RecoveryTest, ACopyWithNoRowsIsUnreadableAndKept)
{
    running.reset();
    RecoveryCopy empty; // well formed, nothing chosen, and no row at all
    empty.format = "subviewer";
    empty.written = QDateTime::currentDateTime();
    QDir().mkpath(recoveryFolder);
    QFile file(QDir(recoveryFolder).filePath("empty.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(recoveryCopyJson(empty));
    file.close();
    NextStart next(folder, recoveryFolder);
    next.copies.offerLeftCopies();
    EXPECT_TRUE(next.ui.questions.empty());
    ASSERT_EQ(next.ui.notices.size(), 1u);
    EXPECT_EQ(next.ui.notices[0].message,
              "unreadable: " + QDir::toNativeSeparators(QDir(recoveryFolder).filePath("empty.json")));
    EXPECT_EQ(next.ws.list.count(), 0);
    EXPECT_TRUE(copiesOnDisk().contains("empty.json"));
}

TEST_F(RecoveryTest, ABroughtBackDocumentTypedIntoAndUndoneIsStillUnsaved)
{
    running.reset();
    leaveCopy("left.json", {"kept"});
    NextStart next(folder, recoveryFolder);
    next.ui.yesNoCancel = {Answer::Yes};
    next.copies.offerLeftCopies();
    next.copies.waitForWrites();
    ASSERT_TRUE(QFile::exists(next.copies.copyPath()));
    next.ws.fields.setText(EditFields::Line1, "kept, typed");
    next.ws.history.undo();
    next.copies.writeNow();
    next.copies.waitForWrites();
    EXPECT_EQ(next.ws.list.cell(0, ColText), "kept");
    EXPECT_TRUE(next.ws.list.isModified()) << "nothing of it is on disk";
    EXPECT_TRUE(QFile::exists(next.copies.copyPath()));
}

TEST_F(RecoveryTest, WithCopiesTurnedOffACopyBroughtBackIsNotOfferedAgain)
{
    running.reset();
    leaveCopy("left.json", {"kept"});
    {
        ScriptedDialogs ui;
        Workspace off(ui, folder.language);
        RecoveryCopies copies(off, recoveryFolder, 0); // "autosave=0"
        ui.yesNoCancel = {Answer::Yes};
        copies.offerLeftCopies();
        EXPECT_EQ(off.list.cell(0, ColText), "kept");
        EXPECT_TRUE(ui.notices.empty()) << "copies are off by choice: nothing to tell";
    }
    EXPECT_TRUE(copiesOnDisk().isEmpty());
    NextStart next(folder, recoveryFolder);
    next.copies.offerLeftCopies();
    EXPECT_TRUE(next.ui.questions.empty());
}

TEST_F(RecoveryTest, ChangesEveryFewHundredMillisecondsDoNotPutTheCopyOff)
{
    RecoveryCopies quick(ws, folder.filePath("quick"), 1);
    QSignalSpy written(&quick, &RecoveryCopies::copyWritten);
    QElapsedTimer clock;
    clock.start();
    QString text;
    while (written.isEmpty() && clock.elapsed() < 2500) {
        text += QLatin1Char('a');
        typeInto(EditFields::Line1, text);
        written.wait(200);
    }
    EXPECT_FALSE(written.isEmpty()) << "no copy within 2.5 s of changes 200 ms apart";
}

namespace {

// A folder this test's user cannot write to, as far as the machine allows:
// its mode for an ordinary user, the immutable attribute for root.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path) : path_(std::move(path))
    {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        if (writable())
            immutable_ = QProcess::execute("chattr", {"+i", path_}) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (immutable_)
            QProcess::execute("chattr", {"-i", path_});
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool writable() const
    {
        QFile probe(QDir(path_).filePath("probe"));
        const bool ok = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return ok;
    }

private:
    QString path_;
    bool immutable_ = false;
};

} // namespace

TEST_F(RecoveryTest, AFolderThatCannotBeWrittenStillOffersItsCopiesAndSaysSoOnce)
{
    typeInto(EditFields::Line1, "left behind");
    writeCopy();
    running.reset();
    const ReadOnlyFolder readOnly(recoveryFolder);
    if (readOnly.writable())
        GTEST_SKIP() << "no folder can be made read-only here";

    NextStart next(folder, recoveryFolder);
    QSignalSpy told(&next.copies, &RecoveryCopies::copiesCannotBeKept);
    next.ui.yesNoCancel = {Answer::Yes};
    next.copies.offerLeftCopies();
    ASSERT_EQ(next.ui.questions.size(), 1u);
    EXPECT_EQ(next.ws.list.cell(0, ColText), "left behind");
    ASSERT_EQ(next.ui.notices.size(), 1u);
    EXPECT_EQ(next.ui.notices[0].message, "no copies in " + QDir::toNativeSeparators(recoveryFolder));
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0][0].toString(), recoveryFolder);
    EXPECT_TRUE(next.copies.cannotKeepCopies());
    // Told once a run; the copy, which could not go, is offered again.
    next.ui.yesNoCancel = {Answer::Cancel};
    next.copies.offerLeftCopies();
    EXPECT_EQ(next.ui.notices.size(), 1u);
    EXPECT_EQ(next.ui.questions.size(), 2u);
    EXPECT_EQ(copiesOnDisk().size(), 1);
}
