#include "spelling/SpellChecker.h"

#include "document/SubtitleMarkup.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <thread>

namespace korv {

namespace {

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// A word as the dictionary reads it: the typographic apostrophe as the
// plain one, which is how the dictionaries spell suffixes.
QString normalised(QStringView word)
{
    QString out = word.toString();
    out.replace(QChar(0x2019), QLatin1Char('\''));
    return out;
}

// Hunspell keeps one table of Unicode cases for all its dictionaries, made by
// the first to load and freed by the last to go, with a plain counter: two
// dictionaries loading or going at once on different threads (the file's
// dictionary changed while the previous one still loads) leak it or free it
// under the other's feet. Loading and freeing take turns.
QMutex &hunspellLifeMutex()
{
    // Never destroyed: a load may still hold it while the program exits.
    static QMutex *const mutex = new QMutex;
    return *mutex;
}

bool worthChecking(QStringView word)
{
    int letters = 0;
    bool lower = false;
    for (QChar c : word) {
        if (c.isDigit())
            return false;
        if (c.isLetter()) {
            ++letters;
            lower = lower || c.isLower() || (!c.isUpper() && !c.isTitleCase());
        }
    }
    // Capitals throughout: a name, an abbreviation, a shout.
    return letters > 0 && (lower || letters == 1);
}

} // namespace

std::vector<WordSpan> wordsToCheck(QStringView text)
{
    std::vector<WordSpan> words;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype after = markupEnd(text, i);
        if (after >= 0) {
            i = after;
            continue;
        }
        if (!isWordChar(text[i]) || text[i].isMark()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size()) {
            if (isWordChar(text[end]) || text[end].isSurrogate()) {
                ++end;
            } else if (isApostrophe(text[end]) && end + 1 < text.size() && text[end + 1].isLetter()) {
                end += 2;
            } else {
                break;
            }
        }
        const QStringView word = text.mid(i, end - i);
        if (worthChecking(word))
            words.push_back({i, end - i});
        i = end;
    }
    return words;
}

SpellChecker::SpellChecker(QString name, std::unique_ptr<Hunspell> hunspell)
    : name_(std::move(name)), hunspell_(std::move(hunspell))
{
    encoding_ = QString::fromLatin1(hunspell_->get_dict_encoding().c_str());
    utf8_ = encoding_.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
}

SpellChecker::~SpellChecker()
{
    if (hunspellLifeMutex().tryLock()) {
        hunspell_.reset();
        hunspellLifeMutex().unlock();
        return;
    }
    // Another dictionary is loading (a second or two): this one goes when
    // it has, off the caller's thread, which may be the window's.
    std::thread([hunspell = std::move(hunspell_)]() mutable {
        const QMutexLocker lock(&hunspellLifeMutex());
        hunspell.reset();
    }).detach();
}

QStringList SpellChecker::defaultFolders()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell"),
            QStringLiteral("/usr/share/myspell/dicts")};
}

QStringList SpellChecker::installedDictionaries(const QStringList &folders)
{
    QStringList names;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo &dic : dir.entryInfoList({QStringLiteral("*.dic")}, QDir::Files | QDir::Readable)) {
            const QString name = dic.completeBaseName();
            // Hyphenation patterns share the folder and the extension.
            if (name.startsWith(QLatin1String("hyph_")) || names.contains(name))
                continue;
            if (QFileInfo(dir.filePath(name + QStringLiteral(".aff"))).isReadable())
                names << name;
        }
    }
    names.sort();
    return names;
}

std::unique_ptr<SpellChecker> SpellChecker::load(const QString &name, const QStringList &folders)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return nullptr;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QString aff = dir.filePath(name + QStringLiteral(".aff"));
        const QString dic = dir.filePath(name + QStringLiteral(".dic"));
        if (!QFileInfo(aff).isReadable() || !QFileInfo(dic).isReadable())
            continue;
        std::unique_ptr<Hunspell> hunspell;
        {
            const QMutexLocker lock(&hunspellLifeMutex());
            hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
        }
        return std::unique_ptr<SpellChecker>(new SpellChecker(name, std::move(hunspell)));
    }
    return nullptr;
}

std::string SpellChecker::encode(QStringView word) const
{
    if (utf8_)
        return word.toUtf8().toStdString();
    QStringEncoder encoder(encoding_.toLatin1().constData());
    const QByteArray bytes = encoder.isValid() ? QByteArray(encoder(word)) : word.toLatin1();
    return bytes.toStdString();
}

QString SpellChecker::decode(const std::string &word) const
{
    if (utf8_)
        return QString::fromStdString(word);
    QStringDecoder decoder(encoding_.toLatin1().constData());
    return decoder.isValid() ? QString(decoder(QByteArrayView(word.data(), qsizetype(word.size()))))
                             : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool SpellChecker::isCorrect(QStringView word)
{
    const QString key = normalised(word);
    QMutexLocker lock(&mutex_);
    const auto found = known_.constFind(key);
    if (found != known_.cend())
        return *found;
    const bool correct = hunspell_->spell(encode(key));
    known_.insert(key, correct);
    return correct;
}

QStringList SpellChecker::suggestions(QStringView word, int count)
{
    const std::string encoded = encode(normalised(word));
    QMutexLocker lock(&mutex_);
    QStringList out;
    for (const std::string &s : hunspell_->suggest(encoded)) {
        if (out.size() >= count)
            break;
        out << decode(s);
    }
    return out;
}

void SpellChecker::addWord(const QString &word)
{
    const QString key = normalised(word);
    QMutexLocker lock(&mutex_);
    hunspell_->add(encode(key));
    // The word itself, and its other casings the dictionary now derives.
    known_.clear();
    known_.insert(key, true);
}

std::vector<WordSpan> SpellChecker::unknownWords(QStringView text)
{
    std::vector<WordSpan> unknown;
    for (const WordSpan &w : wordsToCheck(text)) {
        if (!isCorrect(text.mid(w.start, w.length)))
            unknown.push_back(w);
    }
    return unknown;
}

} // namespace korv
