#pragma once
// Recovery copies: while the document has unsaved changes, a copy of it in
// the user's data folder that the next start offers to bring back if this
// program ends without saving (a crash, a power cut, a killed session).
//
// Each running program owns one copy, named after an id of its own and held
// through a lock file, so programs running side by side never touch each
// other's copy; a copy whose lock is stale belongs to a program that is gone.
// The window's thread only takes a snapshot of the rows (their texts are
// shared, not copied); a worker thread writes the file, atomically.

#include "document/RecoveryFile.h"

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>

namespace korv {

class Workspace;

class RecoveryCopies : public QObject {
    Q_OBJECT
public:
    // Writes `bytes` to `path` in full or not at all; false on failure.
    using Writer = std::function<bool(const QString &path, const QByteArray &bytes)>;

    // The "recovery" folder in the user's data folder.
    static QString defaultFolder();
    // Seconds between copies from the "autosave" setting: 30 when missing or
    // not a whole number of seconds, 0 for no copies.
    static int periodFromSettings();

    RecoveryCopies(Workspace &ws, const QString &folder, int periodSeconds);
    // Waits for a copy being written; the copy stays (a normal close calls
    // discard() first).
    ~RecoveryCopies() override;
    RecoveryCopies(const RecoveryCopies &) = delete;
    RecoveryCopies &operator=(const RecoveryCopies &) = delete;

    // Copies are being kept: the folder is there, the lock is ours and the
    // period is not 0.
    bool active() const { return periodMs_ > 0 && ownLock_ && ownLock_->isLocked(); }
    QString copyPath() const;
    void setWriter(Writer writer) { writer_ = std::move(writer); }

    // The window lost focus: changes not in the copy yet go there now.
    void writeNow();
    // A normal close: the copy goes.
    void discard();
    // Returns when every copy started has been written or removed.
    void waitForWrites();

    // At start: each copy whose program is gone, oldest first, is offered
    // with a Yes/No/Cancel question. Yes brings the document back (marked
    // changed, with a new history), No deletes the copy, Cancel keeps it for
    // the next start. A copy that cannot be read is reported and kept.
    // Then, once, the user is told when no copies can be kept here.
    void offerLeftCopies();
    // Copies are on but the folder cannot be written.
    bool cannotKeepCopies() const { return periodMs_ > 0 && !ownLock_; }

signals:
    // A copy was written (true) or could not be (false).
    void copyWritten(bool ok);
    // No copies can be kept in `folder`; told once, after the offers.
    void copiesCannotBeKept(const QString &folder);

private:
    void documentChanged();
    void historyChanged();
    void removeCopy();
    void tellIfCopiesCannotBeKept();
    RecoveryCopy snapshot() const;
    void restore(const RecoveryCopy &copy);

    Workspace &ws_;
    QString folder_;
    QString id_;
    int periodMs_;
    std::unique_ptr<QLockFile> ownLock_;
    Writer writer_;
    QTimer timer_;
    QThreadPool writing_;
    // Changes since the last copy was started; a copy of ours may be on disk.
    bool changesPending_ = false;
    bool copyOnDisk_ = false;
    bool toldCannotKeep_ = false;
};

} // namespace korv
