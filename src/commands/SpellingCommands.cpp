#include "commands/SpellingCommands.h"

#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "locale/Registry.h"
#include "spelling/PersonalDictionary.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QEvent>
#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>

namespace korv {

namespace {

const QString kNone = QStringLiteral("none");

QString rememberedKey()
{
    return kProgramKey + QStringLiteral("\\Dictionaries");
}

// A file's name in the store: paths hold characters an INI key cannot.
QString fileKey(const QString &path)
{
    const QByteArray canonical = QFileInfo(path).absoluteFilePath().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(canonical, QCryptographicHash::Sha1).toHex().left(20));
}

} // namespace

DocumentSpelling::DocumentSpelling(Workspace &ws) : ws_(ws) {}

DocumentSpelling::~DocumentSpelling()
{
    if (loader_.joinable())
        loader_.join();
}

QString DocumentSpelling::wordListFolder() const
{
    return wordListFolder_.isEmpty() ? userConfigFolder() : wordListFolder_;
}

QString DocumentSpelling::rememberedFor(const QString &path)
{
    if (path.isEmpty())
        return kDefaultDictionary;
    const QString stored = RegGetString(rememberedKey(), fileKey(path), QString());
    if (stored == kNone)
        return QString();
    return stored.isEmpty() ? kDefaultDictionary : stored;
}

void DocumentSpelling::choose(const QString &name)
{
    if (!ws_.currentSubtitleFile.isEmpty())
        RegSetString(rememberedKey(), fileKey(ws_.currentSubtitleFile), name.isEmpty() ? kNone : name);
    load(name);
}

void DocumentSpelling::followDocument()
{
    const QString name = rememberedFor(ws_.currentSubtitleFile);
    if (name != dictionary_ || (!checker_ && !loader_.joinable() && !failed_))
        load(name);
}

void DocumentSpelling::load(const QString &name)
{
    dictionary_ = name;
    checker_.reset();
    failed_ = false;
    const int generation = ++generation_;
    // The previous load runs to its end; its result is dropped.
    if (loader_.joinable())
        loader_.join();
    emit ready();
    if (name.isEmpty())
        return;
    if (!installed().contains(name)) {
        failed_ = true;
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::DictionaryMissing, {name})), ProgramInfo::kNoticeTitle);
        return;
    }
    const QStringList folders = dictionaryFolders;
    const QString wordList = personalDictionaryPath(wordListFolder(), name);
    loader_ = std::thread([this, name, folders, wordList, generation] {
        std::shared_ptr<SpellChecker> checker = SpellChecker::load(name, folders);
        QMetaObject::invokeMethod(this, [this, generation, checker] { loaded(generation, checker); },
                                  Qt::QueuedConnection);
    });
}

void DocumentSpelling::loaded(int generation, std::shared_ptr<SpellChecker> checker)
{
    if (generation != generation_)
        return;
    if (!checker) {
        failed_ = true;
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::DictionaryMissing, {dictionary_})),
                          ProgramInfo::kNoticeTitle);
        emit ready();
        return;
    }
    const QString path = personalDictionaryPath(wordListFolder(), dictionary_);
    const PersonalWords words = readPersonalWords(path);
    for (const QString &word : words.words)
        checker->addWord(word);
    checker_ = std::move(checker);
    emit ready();
    // Told after the words that could be read are in force: the check goes on.
    if (!words.error.isEmpty())
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::PersonalListUnreadable, {path, words.error})),
                          ProgramInfo::kNoticeTitle);
    else if (words.damagedLine > 0)
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::PersonalListDamaged,
                                                            {path, QString::number(words.damagedLine),
                                                             QString::number(std::max(words.skipped, 1))})),
                          ProgramInfo::kNoticeTitle);
}

void DocumentSpelling::waitUntilLoaded()
{
    if (!loader_.joinable())
        return;
    loader_.join();
    // The queued result is taken now rather than at the next event.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void DocumentSpelling::addToMyDictionary(const QString &word)
{
    if (dictionary_.isEmpty())
        return;
    const QString path = personalDictionaryPath(wordListFolder(), dictionary_);
    const QString failure = appendPersonalWord(path, word);
    if (checker_)
        checker_->addWord(word);
    emit ready();
    if (!failure.isEmpty())
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::PersonalListUnwritable, {path, failure})),
                          ProgramInfo::kNoticeTitle);
}

void DocumentSpelling::ignore(const QString &word)
{
    if (checker_)
        checker_->addWord(word);
    emit ready();
}

SpellingRun::SpellingRun(std::shared_ptr<SpellChecker> checker, std::vector<QString> texts, QObject *parent)
    : QObject(parent), checker_(std::move(checker)), texts_(std::move(texts))
{
}

SpellingRun::~SpellingRun()
{
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

void SpellingRun::start()
{
    if (worker_.joinable())
        return;
    worker_ = std::thread([this] { work(); });
}

void SpellingRun::work()
{
    const int total = int(texts_.size());
    constexpr int kProgressEvery = 2000;
    for (int row = 0; row < total && !cancelled_; ++row) {
        const QString &text = texts_[std::size_t(row)];
        if (checker_) {
            for (const WordSpan &w : checker_->unknownWords(text))
                found_.push_back({row, text.mid(w.start, w.length)});
        }
        done_ = row + 1;
        if ((row + 1) % kProgressEvery == 0)
            QMetaObject::invokeMethod(this, [this, done = row + 1, total] { emit progress(done, total); },
                                      Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(this, [this] { emit finished(); }, Qt::QueuedConnection);
}

} // namespace korv
