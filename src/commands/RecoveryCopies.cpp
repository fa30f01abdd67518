#include "commands/RecoveryCopies.h"

#include "commands/UnsavedChanges.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/LanguageLocale.h"
#include "locale/MessageKeys.h"
#include "locale/Registry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QSysInfo>
#include <QUuid>

#include <utility>

#include <cerrno>
#include <csignal>

namespace korv {

namespace {

constexpr int kDefaultPeriodSeconds = 30;
const QString kCopySuffix = QStringLiteral(".json");
const QString kLockSuffix = QStringLiteral(".lock");

QString formatName(SaveFormat format)
{
    switch (format) {
    case SaveFormat::SubViewer:
        return QStringLiteral("subviewer");
    case SaveFormat::MicroDvd:
        return QStringLiteral("microdvd");
    case SaveFormat::SubRip:
        return QStringLiteral("subrip");
    case SaveFormat::WebVtt:
        return QStringLiteral("webvtt");
    }
    return QStringLiteral("subviewer");
}

SaveFormat formatNamed(const QString &name)
{
    for (SaveFormat format : {SaveFormat::MicroDvd, SaveFormat::SubRip, SaveFormat::WebVtt})
        if (formatName(format) == name)
            return format;
    return SaveFormat::SubViewer;
}

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// A lock that counts as stale as soon as its program is gone, never by age:
// a program may keep its document open for days.
std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

// Whether the program that wrote a lock we could not take still runs. In a
// folder that cannot be written no lock can be taken, yet a copy whose
// program is gone must still be offered.
bool programRuns(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return false; // no lock, or none that a program wrote
    if (host != QSysInfo::machineHostName())
        return true; // another machine's program: nothing tells it is gone
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

QString RecoveryCopies::defaultFolder()
{
    return QDir(userDataFolder()).filePath(QStringLiteral("recovery"));
}

int RecoveryCopies::periodFromSettings()
{
    bool ok = false;
    const int seconds = GetRegSetting(QStringLiteral("autosave")).trimmed().toInt(&ok);
    // A day at most: a longer period is a mistyped one, and the milliseconds
    // must fit the timer.
    if (!ok || seconds < 0 || seconds > 86400)
        return kDefaultPeriodSeconds;
    return seconds;
}

RecoveryCopies::RecoveryCopies(Workspace &ws, const QString &folder, int periodSeconds)
    : ws_(ws), folder_(folder), id_(QUuid::createUuid().toString(QUuid::WithoutBraces)),
      periodMs_(std::max(periodSeconds, 0) * 1000), writer_(writeAtomically)
{
    writing_.setMaxThreadCount(1);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryCopies::writeNow);
    if (periodMs_ > 0 && QDir().mkpath(folder_)) {
        ownLock_ = lockFor(QDir(folder_).filePath(id_ + kLockSuffix));
        if (!ownLock_->tryLock(0))
            ownLock_.reset();
    }

    SubtitleList &list = ws_.list;
    connect(&list, &SubtitleList::resetDone, this, &RecoveryCopies::documentChanged);
    connect(&list, &SubtitleList::inserted, this, &RecoveryCopies::documentChanged);
    connect(&list, &SubtitleList::removed, this, &RecoveryCopies::documentChanged);
    connect(&list, &SubtitleList::cellsChanged, this, &RecoveryCopies::documentChanged);
    connect(&list, &SubtitleList::selectionChanged, this, &RecoveryCopies::documentChanged);
    connect(&ws_.history, &DocumentHistory::changed, this, &RecoveryCopies::historyChanged);
}

RecoveryCopies::~RecoveryCopies()
{
    writing_.waitForDone();
}

QString RecoveryCopies::copyPath() const
{
    return QDir(folder_).filePath(id_ + kCopySuffix);
}

void RecoveryCopies::documentChanged()
{
    // The help tour's sample rows and a file being read are not the user's
    // work; the history tells when a read is over.
    if (!active() || ws_.history.paused() || !ws_.list.isModified())
        return;
    changesPending_ = true;
    if (!timer_.isActive())
        timer_.start(periodMs_);
}

void RecoveryCopies::historyChanged()
{
    if (ws_.history.paused())
        return;
    if (ws_.list.isModified())
        documentChanged();
    else
        removeCopy(); // saved, opened, new, or undone back to the saved state
}

RecoveryCopy RecoveryCopies::snapshot() const
{
    RecoveryCopy copy;
    copy.rows = ws_.list.rows();
    copy.selected = ws_.list.selected();
    copy.file = ws_.currentSubtitleFile;
    copy.format = formatName(ws_.documentFormat);
    copy.microDvdRate = ws_.frameRates.microDvd;
    copy.written = QDateTime::currentDateTime();
    return copy;
}

void RecoveryCopies::writeNow()
{
    timer_.stop();
    if (!active() || !changesPending_ || ws_.history.paused() || !ws_.list.isModified())
        return;
    changesPending_ = false;
    copyOnDisk_ = true;
    writing_.start([this, path = copyPath(), writer = writer_, copy = snapshot()] {
        const bool ok = writer(path, recoveryCopyJson(copy));
        QMetaObject::invokeMethod(this, [this, ok] { emit copyWritten(ok); }, Qt::QueuedConnection);
    });
}

void RecoveryCopies::removeCopy()
{
    timer_.stop();
    changesPending_ = false;
    if (!std::exchange(copyOnDisk_, false))
        return;
    // After any copy still being written.
    writing_.start([path = copyPath()] { QFile::remove(path); });
}

void RecoveryCopies::discard()
{
    removeCopy();
    waitForWrites();
}

void RecoveryCopies::waitForWrites()
{
    writing_.waitForDone();
}

void RecoveryCopies::restore(const RecoveryCopy &copy)
{
    {
        DocumentHistory::Pause pause(ws_.history);
        ws_.list.replaceAll(copy.rows);
        ws_.list.select(copy.selected);
        ws_.currentSubtitleFile = copy.file;
        ws_.documentFormat = formatNamed(copy.format);
        ws_.frameRates.microDvd = copy.microDvdRate;
    }
    // Nothing of it is on disk: changed, with no state to undo back to.
    ws_.history.startNew(false);
}

void RecoveryCopies::offerLeftCopies()
{
    QDir dir(folder_);
    const QFileInfoList found =
        dir.entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &info : found) {
        const QString id = info.completeBaseName();
        if (id == id_)
            continue;
        // A copy whose program still runs stays its own.
        const auto lock = lockFor(dir.filePath(id + kLockSuffix));
        if (!lock->tryLock(0) && programRuns(*lock))
            continue;

        QFile file(info.filePath());
        std::optional<RecoveryCopy> copy;
        if (file.open(QIODevice::ReadOnly))
            copy = readRecoveryCopy(file.readAll());
        file.close();
        // A document always has a row: a copy with none is no document.
        if (copy && copy->rows.empty())
            copy.reset();
        if (!copy) {
            ws_.ui.showNotice(ws_.language.LangText(msg::RecoveryCopyUnreadable).arg(QDir::toNativeSeparators(info.filePath())),
                              ProgramInfo::kNoticeTitle);
            continue;
        }

        const QLocale locale = localeOf(ws_.language);
        const QString name = copy->file.isEmpty() ? ws_.language.LangText(msg::RecoveryUntitled)
                                                  : QDir::toNativeSeparators(copy->file);
        const QString question = ws_.language.LangText(msg::RecoveryQuestion)
                                     .arg(locale.toString(copy->written.date(), QLocale::ShortFormat),
                                          locale.toString(copy->written.time(), QLocale::ShortFormat), name,
                                          QString::number(copy->rows.size()));
        switch (ws_.ui.askYesNoCancel(question, ProgramInfo::kNoticeTitle)) {
        case Answer::Yes:
            // A copy brought back before this one is the user's work too.
            if (!confirmUnsavedChanges(ws_))
                continue;
            restore(*copy);
            writeNow();
            waitForWrites();
            // The old copy goes once the document is safe in ours (or the
            // user turned copies off).
            if (!active() || QFile::exists(copyPath()))
                file.remove();
            break;
        case Answer::No:
            file.remove();
            break;
        case Answer::Cancel:
            break;
        }
    }
    tellIfCopiesCannotBeKept();
}

void RecoveryCopies::tellIfCopiesCannotBeKept()
{
    if (periodMs_ == 0 || ownLock_ || std::exchange(toldCannotKeep_, true))
        return;
    ws_.ui.showNotice(ws_.language.LangText(msg::RecoveryFolderUnwritable).arg(QDir::toNativeSeparators(folder_)),
                      ProgramInfo::kNoticeTitle);
    emit copiesCannotBeKept(folder_);
}

} // namespace korv
