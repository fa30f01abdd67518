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

struct DocumentSpelling::Load {
    QString name;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::shared_ptr<SpellChecker> checker;
    // Null once the load is no longer wanted.
    DocumentSpelling *owner = nullptr;
};

DocumentSpelling::DocumentSpelling(Workspace &ws) : ws_(ws) {}

DocumentSpelling::~DocumentSpelling()
{
    if (load_) {
        const std::lock_guard lock(load_->mutex);
        load_->owner = nullptr;
    }
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
    followedFile_ = ws_.currentSubtitleFile;
    followed_ = true;
    load(name);
}

void DocumentSpelling::followDocument()
{
    if (followed_ && followedFile_ == ws_.currentSubtitleFile)
        return;
    followedFile_ = ws_.currentSubtitleFile;
    followed_ = true;
    const QString name = rememberedFor(ws_.currentSubtitleFile);
    if (name != dictionary_ || (!checker_ && !load_ && !failed_))
        load(name);
}

void DocumentSpelling::load(const QString &name)
{
    if (load_) {
        const std::lock_guard lock(load_->mutex);
        load_->owner = nullptr;
    }
    load_.reset();
    dictionary_ = name;
    checker_.reset();
    failed_ = false;
    emit ready();
    if (name.isEmpty())
        return;
    if (!installed().contains(name)) {
        failed_ = true;
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::DictionaryMissing, {name})), ProgramInfo::kNoticeTitle);
        return;
    }
    auto state = std::make_shared<Load>();
    state->name = name;
    state->owner = this;
    load_ = state;
    std::thread([state, folders = dictionaryFolders] {
        std::shared_ptr<SpellChecker> checker = SpellChecker::load(state->name, folders);
        const std::lock_guard lock(state->mutex);
        state->checker = std::move(checker);
        state->done = true;
        state->finished.notify_all();
        if (state->owner)
            QMetaObject::invokeMethod(state->owner, [state] {
                if (state->owner)
                    state->owner->loaded(state);
            }, Qt::QueuedConnection);
    }).detach();
}

void DocumentSpelling::loaded(const std::shared_ptr<Load> &state)
{
    // Taken already (waitUntilLoaded), or no longer wanted.
    if (state != load_)
        return;
    load_.reset();
    std::shared_ptr<SpellChecker> checker;
    {
        const std::lock_guard lock(state->mutex);
        checker = state->checker;
    }
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
    const std::shared_ptr<Load> state = load_;
    if (!state)
        return;
    {
        std::unique_lock lock(state->mutex);
        state->finished.wait(lock, [&] { return state->done; });
    }
    loaded(state);
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
