#pragma once
// Spelling as the user meets it: the dictionary the open document is
// checked with (Turkish unless chosen otherwise, remembered for each file),
// loaded on a worker thread so the window never waits for it; the user's own
// words; and the spelling of a whole document on a worker thread, with
// progress and a way to stop, while the user goes on typing.

#include "spelling/SpellChecker.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <thread>
#include <vector>

namespace korv {

class Workspace;

class DocumentSpelling : public QObject {
    Q_OBJECT
public:
    explicit DocumentSpelling(Workspace &ws);
    ~DocumentSpelling() override;

    static inline const QString kDefaultDictionary = QStringLiteral("tr_TR");

    // Where dictionaries are looked for, and the folder of the user's word
    // lists (the configuration folder unless set).
    QStringList dictionaryFolders = SpellChecker::defaultFolders();
    QString wordListFolder() const;
    void setWordListFolder(const QString &folder) { wordListFolder_ = folder; }

    QStringList installed() const { return SpellChecker::installedDictionaries(dictionaryFolders); }
    // The document's dictionary; empty for none.
    const QString &dictionary() const { return dictionary_; }
    // The user chose a dictionary ("" for none) for the open document: it is
    // loaded and remembered for the document's file.
    void choose(const QString &name);
    // The dictionary remembered for the open document's file, or the
    // default: loaded unless it is the one in use.
    void followDocument();
    // The dictionary remembered for a file ("" for none); the default when
    // nothing is.
    static QString rememberedFor(const QString &path);

    // Null while loading, with no dictionary, or with one not installed.
    std::shared_ptr<SpellChecker> checker() const { return checker_; }
    bool loading() const { return bool(load_); }
    // Waits for the load under way (tests; the report before it spells).
    void waitUntilLoaded();

    // The word goes into the user's list for this dictionary and is known
    // from now on; a list that cannot be written is told.
    void addToMyDictionary(const QString &word);
    // Known for the rest of the run.
    void ignore(const QString &word);

signals:
    // A dictionary is ready (or there is none now): spell again.
    void ready();

private:
    struct Load;
    void load(const QString &name);
    void loaded(const std::shared_ptr<Load> &load);

    Workspace &ws_;
    QString dictionary_;
    QString wordListFolder_;
    std::shared_ptr<SpellChecker> checker_;
    // The load under way, shared with its worker; a load left behind (another
    // dictionary chosen, the window closed) finishes alone and is dropped,
    // so nobody waits for it.
    std::shared_ptr<Load> load_;
    bool failed_ = false;
    // The file whose dictionary is in force (chosen or remembered), so that
    // following the document again changes nothing until another file opens.
    QString followedFile_;
    bool followed_ = false;
};

// The spelling of a snapshot of the rows' texts on a worker thread. The
// texts are Qt's shared strings, so the snapshot costs no copy of them.
class SpellingRun : public QObject {
    Q_OBJECT
public:
    struct Found {
        int row;
        QString word;
    };

    SpellingRun(std::shared_ptr<SpellChecker> checker, std::vector<QString> texts, QObject *parent = nullptr);
    // Stops the worker and waits for it.
    ~SpellingRun() override;

    void start();
    void cancel() { cancelled_ = true; }
    bool wasCancelled() const { return cancelled_; }
    int total() const { return int(texts_.size()); }
    // The rows read so far and what was found, complete once finished.
    int done() const { return done_; }
    const std::vector<Found> &found() const { return found_; }

signals:
    void progress(int done, int total);
    void finished();

private:
    void work();

    std::shared_ptr<SpellChecker> checker_;
    std::vector<QString> texts_;
    std::vector<Found> found_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> done_{0};
    std::thread worker_;
};

} // namespace korv
