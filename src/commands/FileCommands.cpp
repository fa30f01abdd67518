#include "commands/FileCommands.h"

#include "commands/Workspace.h"
#include "document/FrameRate.h"
#include "document/MicroDvdFormat.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "commands/UnsavedChanges.h"
#include "editing/OverlapCheck.h"
#include "locale/Messages.h"
#include "document/ProgramInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korv {

namespace {

const QString &title()
{
    return ProgramInfo::kNoticeTitle;
}

bool finishWrite(Workspace &ws, const QString &path, const Result<QString> &text,
                 const std::vector<qsizetype> &rowOffsets)
{
    if (!text) {
        ws.ui.showNotice(LangText(text.error()), title());
        return false;
    }
    const Result<QByteArray> bytes = encodeForFile(*text, rowOffsets);
    if (!bytes) {
        ws.ui.showNotice(LangText(bytes.error()), title());
        return false;
    }
    const Status written = writeFileAtomically(path, *bytes);
    if (!written) {
        ws.ui.showNotice(LangText(written.error()), title());
        return false;
    }
    ws.list.setModified(false);
    ws.ui.showNotice(LangMessage(QStringLiteral("003")), title());
    return true;
}

bool finishRead(Workspace &ws, ReadOutcome outcome)
{
    const bool ok = outcome.ok();
    ws.list.replaceAll(std::move(outcome.rows));
    if (!ok) {
        ws.ui.showNotice(LangText(*outcome.error), title());
        return false;
    }
    emit ws.helpButtonEnabled();
    ws.list.select(0);
    return true;
}

} // namespace

Result<QByteArray> encodeForFile(const QString &text, const std::vector<qsizetype> &rowOffsets)
{
    EncodedText encoded = encodeWindows1254(text);
    if (encoded.unencodable < 0)
        return std::move(encoded.bytes);
    const auto it = std::upper_bound(rowOffsets.begin(), rowOffsets.end(), encoded.unencodable);
    const int row = int(it - rowOffsets.begin());
    QString character = text.mid(encoded.unencodable, 1);
    uint code = text[encoded.unencodable].unicode();
    if (text[encoded.unencodable].isHighSurrogate() && encoded.unencodable + 1 < text.size()) {
        character = text.mid(encoded.unencodable, 2);
        code = QChar::surrogateToUcs4(text[encoded.unencodable], text[encoded.unencodable + 1]);
    }
    return Failure{Message::of(msg::CharacterNotInCodePage,
                               {QString::number(row), character,
                                QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'))})};
}

namespace {

Message fileError(const QFile &file, const QString &path)
{
    return Message::system(file.errorString(), path);
}

// The rest of an open file, refused when it is far bigger than a subtitle
// file can be (a film chosen by mistake, a device without end) rather than
// read into memory.
Result<QByteArray> readAllOf(QFile &file, const QString &path)
{
    const auto tooBig = [&path] {
        return Failure{Message::of(msg::FileTooLarge, {QString::number(kMaxSubtitleFileBytes >> 20)}, path)};
    };
    if (file.size() > kMaxSubtitleFileBytes)
        return tooBig();
    QByteArray bytes;
    bytes.reserve(file.size());
    // In pieces: a device reports no size, and may have no end.
    char chunk[1 << 16];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            return Failure{fileError(file, path)};
        if (n == 0)
            break;
        if (bytes.size() + n > kMaxSubtitleFileBytes)
            return tooBig();
        bytes.append(chunk, n);
    }
    return bytes;
}

} // namespace

Result<QByteArray> readWholeFile(const QString &path)
{
    // A named pipe or a device would block or never end; a folder is no file.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return Failure{Message::of(msg::NotARegularFile, {}, path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{fileError(file, path)};
    return readAllOf(file, path);
}

bool mayWrite(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}

namespace {

qint64 writeToDevice(QIODevice &device, const char *data, qint64 size)
{
    return device.write(data, size);
}

// Why the temporary file of a save could not be made: a folder the user may
// not write into is named as such, also when the file itself is writable.
Message openFailure(const QSaveFile &file, const QString &path)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (QFileInfo::exists(folder) && !mayWrite(folder) && (!target.exists() || mayWrite(path)))
        return Message::of(msg::FolderNotWritable, {file.errorString()}, path);
    return Message::system(file.errorString(), path);
}

} // namespace

Status writeFileAtomically(const QString &path, const QByteArray &bytes, DeviceWriter write)
{
    if (!write)
        write = writeToDevice;
    QSaveFile file(path);
    // Unbuffered, so a full disk is reported by a write with the system's
    // reason, not later by the commit as an unknown error.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure{openFailure(file, path)};
    // A short write (the disk filling up) is followed by another, which then
    // fails with the system's reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = write(file, bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return Failure{Message::system(error, path)};
        }
        done += written;
    }
    if (!file.commit())
        return Failure{Message::system(file.errorString(), path)};
    return Status::success();
}

DetectedFile DetectSubtitleFormat(Workspace &ws, const QString &path)
{
    DetectedFile out;
    ws.currentSubtitleFile = path;
    const auto unreadable = [&](const Message &why) {
        ws.ui.showNotice(LangText(why), title());
        return DetectedFile{};
    };
    // A named pipe would hang the window, a device never end: only a regular
    // file is opened.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return unreadable(Message::of(msg::NotARegularFile, {}, path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(fileError(file, path));
    // The first line decides; a file that is no subtitle file (a film, a
    // device) is turned down without being read through.
    out.format = detectFormat(file.peek(kFormatHeadBytes));
    if (file.error() != QFileDevice::NoError)
        return unreadable(fileError(file, path));
    if (out.format == SubtitleFormat::Unknown)
        return out;
    Result<QByteArray> bytes = readAllOf(file, path);
    if (!bytes)
        return unreadable(bytes.error());
    out.bytes = std::move(bytes.value());
    return out;
}

bool ReadSubViewerFile(Workspace &ws, const QByteArray &bytes)
{
    BusyPointer busy(ws.ui);
    const DecodedText decoded = decodeText(bytes);
    return finishRead(ws, subviewer::read(decoded.text));
}

bool ReadMicroDVDFile(Workspace &ws, const QByteArray &bytes)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(frameRates().film));
    if (!rate)
        return false; // the window was closed: nothing is read
    frameRates().microDvd = *rate;
    BusyPointer busy(ws.ui);
    const DecodedText decoded = decodeText(bytes);
    return finishRead(ws, microdvd::read(decoded.text, *rate));
}

bool WriteSubViewerFile(Workspace &ws, const QString &path)
{
    BusyPointer busy(ws.ui);
    std::vector<qsizetype> offsets;
    const Result<QString> text = subviewer::write(ws.list, &offsets);
    busy.release();
    return finishWrite(ws, path, text, offsets);
}

bool WriteMicroDVDFile(Workspace &ws, const QString &path)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(frameRates().film));
    if (!rate)
        return false; // the window was closed: nothing is written
    frameRates().microDvd = *rate;
    BusyPointer busy(ws.ui);
    std::vector<qsizetype> offsets;
    const Result<QString> text = microdvd::write(ws.list, *rate, &offsets);
    busy.release();
    return finishWrite(ws, path, text, offsets);
}

namespace {

std::optional<QString> chooseFile(Workspace &ws, bool save, const QString &filter, const QString &fileName)
{
    FileDialogRequest request;
    request.filter = filter;
    request.fileName = fileName;
    const FileDialogResult choice = save ? ws.ui.chooseFileToSave(request) : ws.ui.chooseFileToOpen(request);
    if (choice.kind == FileDialogResult::Cancelled)
        return std::nullopt;
    if (choice.kind == FileDialogResult::Failed) {
        ws.ui.showNotice(fileDialogErrorText(choice), title());
        return std::nullopt;
    }
    ws.lastDialogPath = choice.path;
    return choice.path;
}

} // namespace

std::optional<QString> chooseFileToOpen(Workspace &ws, const QString &filter)
{
    return chooseFile(ws, false, filter, ws.lastDialogPath);
}

std::optional<QString> chooseFileToSave(Workspace &ws, const QString &filter, const QString &fileName)
{
    return chooseFile(ws, true, filter, fileName);
}

void mnualtyaziac_Click(Workspace &ws)
{
    if (!confirmUnsavedChanges(ws))
        return;
    BusyPointer busy(ws.ui);
    if (const auto path = chooseFileToOpen(ws, QStringLiteral("SubViewer v2 / Micro DVD Files *.*|*.*")))
        openSubtitleFile(ws, *path);
}

bool openSubtitleFile(Workspace &ws, const QString &path)
{
    BusyPointer busy(ws.ui);
    const DetectedFile file = DetectSubtitleFormat(ws, path);
    bool complete = false;
    switch (file.format) {
    case SubtitleFormat::Unknown:
        ws.ui.showNotice(LangMessage(QStringLiteral("012")), title());
        return false;
    case SubtitleFormat::SubViewer:
        complete = ReadSubViewerFile(ws, file.bytes);
        break;
    case SubtitleFormat::MicroDvd:
        complete = ReadMicroDVDFile(ws, file.bytes);
        break;
    }
    ws.list.renumber();
    // A file read whole is what is on disk; rows of a failed read are not.
    if (complete) {
        ws.list.setModified(false);
        ws.documentFormat = file.format == SubtitleFormat::MicroDvd ? SaveMicroDvd : SaveSubViewer;
    }
    return complete;
}

bool mnualtyazikaydet_Click(Workspace &ws, int index)
{
    if (index != SaveSubViewer && index != SaveMicroDvd)
        return false;
    if (!CheckOverlaps(ws))
        return false;
    const QString filter = index == SaveSubViewer ? QStringLiteral("SubViewer v2 Files *.*|*.*")
                                                  : QStringLiteral("Micro DVD Files *.*|*.*");
    BusyPointer busy(ws.ui);
    const auto path = chooseFileToSave(ws, filter, ws.currentSubtitleFile);
    if (!path)
        return false;
    ws.currentSubtitleFile = *path;
    busy.release();
    const bool written = index == SaveSubViewer ? WriteSubViewerFile(ws, *path) : WriteMicroDVDFile(ws, *path);
    if (written)
        ws.documentFormat = index;
    return written;
}

} // namespace korv
