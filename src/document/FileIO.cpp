#include "document/FileIO.h"

#include "document/MicroDvdFormat.h"
#include "document/SubRipFormat.h"
#include "document/TextCodec.h"
#include "document/WebVttFormat.h"

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

// The rows holding a replaced byte, the first ten of them named.
std::optional<Message> replacedBytesNotice(const std::vector<SubtitleEntry> &rows)
{
    constexpr int kNamed = 10;
    QStringList named;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (!rows[r].text.contains(QChar::ReplacementCharacter) && !rows[r].start.contains(QChar::ReplacementCharacter)
            && !rows[r].end.contains(QChar::ReplacementCharacter))
            continue;
        if (named.size() == kNamed) {
            named.back() += QChar(0x2026);
            break;
        }
        named << QString::number(r + 1);
    }
    if (named.isEmpty())
        return std::nullopt;
    return Message::of(msg::InvalidBytesReplaced, {named.join(QStringLiteral(", "))});
}

} // namespace

ReadOutcome readSubtitleBytes(SubtitleFormat format, QByteArrayView bytes, double framesPerSecond,
                              const NumberFormat &nf)
{
    // WebVTT is UTF-8 whatever its bytes look like; SubRip nearly always is.
    const DecodedText decoded = format == SubtitleFormat::WebVtt ? decodeUtf8Text(bytes)
        : format == SubtitleFormat::SubRip                    ? decodeText(bytes, ExpectedEncoding::Utf8)
                                                              : decodeText(bytes);
    ReadOutcome out;
    switch (format) {
    case SubtitleFormat::Unknown: break;
    case SubtitleFormat::SubViewer: out = subviewer::read(decoded.text, nf); break;
    case SubtitleFormat::MicroDvd: out = microdvd::read(decoded.text, framesPerSecond, nf); break;
    case SubtitleFormat::SubRip: out = subrip::read(decoded.text, nf); break;
    case SubtitleFormat::WebVtt: out = webvtt::read(decoded.text, nf).read; break;
    }
    if (decoded.replaced) {
        if (std::optional<Message> notice = replacedBytesNotice(out.rows))
            out.notices.insert(out.notices.begin(), std::move(*notice));
    }
    return out;
}

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

} // namespace

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

Result<DetectedFile> readSubtitleFile(const QString &path)
{
    // A named pipe would hang the window, a device never end: only a regular
    // file is opened.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return Failure{Message::of(msg::NotARegularFile, {}, path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{fileError(file, path)};
    DetectedFile out;
    out.format = detectFormat(file.peek(kFormatHeadBytes));
    if (file.error() != QFileDevice::NoError)
        return Failure{fileError(file, path)};
    if (out.format == SubtitleFormat::Unknown)
        return out;
    Result<QByteArray> bytes = readAllOf(file, path);
    if (!bytes)
        return Failure{bytes.error()};
    out.bytes = std::move(bytes.value());
    return out;
}

} // namespace korv
