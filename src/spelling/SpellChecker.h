#pragma once
// Spelling through Hunspell: the dictionaries installed on the machine, the
// words of a subtitle text worth checking, and a checker over one
// dictionary. No widgets and no settings: the editor, its commands and the
// converter all call it directly.
//
// A checker may be asked from two threads at once (the fields while the
// user types, a worker spelling the whole document): every call takes a
// lock for one word, so neither waits long for the other.

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

class Hunspell;

namespace korv {

// A word of a text: where it starts and how long it is, in UTF-16 units.
struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const WordSpan &) const = default;
};

// The words a spelling check reads: runs of letters, with an apostrophe
// inside ("İstanbul'da", "don't"). Markup ({\an8}, <i>) is skipped; so are
// words with a digit in them ("3D", "1990'da") and words in capitals
// ("IŞIK", "NASA"), which are names, shouting or abbreviations.
std::vector<WordSpan> wordsToCheck(QStringView text);

class SpellChecker {
public:
    ~SpellChecker();
    SpellChecker(const SpellChecker &) = delete;
    SpellChecker &operator=(const SpellChecker &) = delete;

    // Folders searched for NAME.aff and NAME.dic, in order.
    static QStringList defaultFolders();
    // The dictionaries found there ("en_US", "tr_TR"), sorted.
    static QStringList installedDictionaries(const QStringList &folders = defaultFolders());
    // Loads a dictionary (a Turkish one takes a second or two: do it on a
    // worker thread); null when it is not installed or will not load.
    static std::unique_ptr<SpellChecker> load(const QString &name, const QStringList &folders = defaultFolders());

    const QString &name() const { return name_; }

    bool isCorrect(QStringView word);
    // Up to `count` suggestions (slow in Turkish: half a second or more).
    QStringList suggestions(QStringView word, int count = 6);
    // The word counts as known from now on, for this checker (a personal
    // dictionary's word, or one the user chose to ignore).
    void addWord(const QString &word);
    // The words of a text this dictionary does not know.
    std::vector<WordSpan> unknownWords(QStringView text);

private:
    SpellChecker(QString name, std::unique_ptr<Hunspell> hunspell);
    std::string encode(QStringView word) const;
    QString decode(const std::string &word) const;

    QString name_;
    std::unique_ptr<Hunspell> hunspell_;
    bool utf8_ = true;
    QString encoding_;
    QMutex mutex_;
    QHash<QString, bool> known_;
};

} // namespace korv
