#include "commands/FileCommands.h"

#include "commands/CheckCommands.h"
#include "commands/UnsavedChanges.h"
#include "commands/Workspace.h"
#include "document/FileIO.h"
#include "document/FrameRate.h"
#include "document/MicroDvdFormat.h"
#include "document/ProgramInfo.h"
#include "document/SubRipFormat.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "document/WebVttFormat.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

namespace {

const QString &title()
{
    return ProgramInfo::kNoticeTitle;
}

// SubViewer 2 and MicroDVD files are Windows-1254; SubRip and WebVTT UTF-8.
enum class Encoding { Windows1254, Utf8 };

bool finishWrite(Workspace &ws, const QString &path, const Result<QString> &text,
                 const std::vector<qsizetype> &rowOffsets, Encoding encoding = Encoding::Windows1254)
{
    if (!text) {
        ws.ui.showNotice(ws.language.LangText(text.error()), title());
        return false;
    }
    const Result<QByteArray> bytes =
        encoding == Encoding::Utf8 ? Result<QByteArray>(text->toUtf8()) : encodeForFile(*text, rowOffsets);
    if (!bytes) {
        ws.ui.showNotice(ws.language.LangText(bytes.error()), title());
        return false;
    }
    const Status written = writeFileAtomically(path, *bytes);
    if (!written) {
        ws.ui.showNotice(ws.language.LangText(written.error()), title());
        return false;
    }
    ws.history.markSaved();
    ws.ui.showNotice(ws.language.LangMessage(msg::FileSaved), title());
    return true;
}

// The rows read replace the document, which is in `format` from now on (its
// precision too, for the fields showing the first row).
bool finishRead(Workspace &ws, ReadOutcome outcome, SaveFormat format)
{
    const bool ok = outcome.ok();
    const std::vector<Message> notices = std::move(outcome.notices);
    ws.documentFormat = format;
    {
        // Another document: the old one's history goes with it.
        const DocumentHistory::Pause quiet(ws.history);
        ws.list.replaceAll(std::move(outcome.rows));
    }
    ws.history.startNew(ok);
    if (!ok) {
        ws.ui.showNotice(ws.language.LangText(*outcome.error), title());
        return false;
    }
    emit ws.helpButtonEnabled();
    ws.list.select(0);
    // What the read left out or will change, in one window once the rows
    // are shown as they will stay (numbered).
    if (!notices.empty()) {
        ws.list.renumber();
        QStringList texts;
        for (const Message &notice : notices)
            texts << ws.language.LangText(notice);
        ws.ui.showNotice(texts.join(QStringLiteral("\r\n\r\n")), title());
    }
    return true;
}

} // namespace

DetectedFile DetectSubtitleFormat(Workspace &ws, const QString &path)
{
    Result<DetectedFile> file = readSubtitleFile(path);
    if (!file) {
        ws.ui.showNotice(ws.language.LangText(file.error()), title());
        return {};
    }
    return std::move(file.value());
}

bool ReadSubViewerFile(Workspace &ws, const QByteArray &bytes)
{
    BusyPointer busy(ws.ui);
    return finishRead(ws, readSubtitleBytes(SubtitleFormat::SubViewer, bytes, 0, ws.numbers), SaveFormat::SubViewer);
}

bool ReadSubRipFile(Workspace &ws, const QByteArray &bytes)
{
    BusyPointer busy(ws.ui);
    return finishRead(ws, readSubtitleBytes(SubtitleFormat::SubRip, bytes, 0, ws.numbers), SaveFormat::SubRip);
}

bool ReadWebVttFile(Workspace &ws, const QByteArray &bytes)
{
    BusyPointer busy(ws.ui);
    return finishRead(ws, readSubtitleBytes(SubtitleFormat::WebVtt, bytes, 0, ws.numbers), SaveFormat::WebVtt);
}

namespace {

// The rate a MicroDVD file is read at; nothing when the window was closed.
std::optional<double> askMicroDvdRate(Workspace &ws)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(ws.frameRates.film, ws.numbers));
    if (rate)
        ws.frameRates.microDvd = *rate;
    return rate;
}

bool readMicroDvdAt(Workspace &ws, const QByteArray &bytes, double rate)
{
    BusyPointer busy(ws.ui);
    return finishRead(ws, readSubtitleBytes(SubtitleFormat::MicroDvd, bytes, rate, ws.numbers), SaveFormat::MicroDvd);
}

} // namespace

bool ReadMicroDVDFile(Workspace &ws, const QByteArray &bytes)
{
    const auto rate = askMicroDvdRate(ws);
    // The window was closed: nothing is read.
    return rate && readMicroDvdAt(ws, bytes, *rate);
}

namespace {

// `format(&rowOffsets)` gives the file's text; it is written in `encoding`.
template <typename Format>
bool writeAs(Workspace &ws, const QString &path, Format format, Encoding encoding = Encoding::Windows1254)
{
    BusyPointer busy(ws.ui);
    std::vector<qsizetype> offsets;
    const Result<QString> text = format(&offsets);
    busy.release();
    return finishWrite(ws, path, text, offsets, encoding);
}

} // namespace

bool WriteSubViewerFile(Workspace &ws, const QString &path)
{
    return writeAs(ws, path, [&](std::vector<qsizetype> *offsets) { return subviewer::write(ws.list, ws.numbers, offsets); });
}

bool WriteSubRipFile(Workspace &ws, const QString &path)
{
    return writeAs(
        ws, path, [&](std::vector<qsizetype> *offsets) { return subrip::write(ws.list, ws.numbers, offsets); },
        Encoding::Utf8);
}

bool WriteWebVttFile(Workspace &ws, const QString &path)
{
    return writeAs(
        ws, path, [&](std::vector<qsizetype> *offsets) { return webvtt::write(ws.list, ws.numbers, offsets); },
        Encoding::Utf8);
}

bool WriteMicroDVDFile(Workspace &ws, const QString &path)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(ws.frameRates.film, ws.numbers));
    if (!rate)
        return false; // the window was closed: nothing is written
    ws.frameRates.microDvd = *rate;
    return writeAs(ws, path, [&](std::vector<qsizetype> *offsets) {
        return microdvd::write(ws.list, *rate, ws.numbers, offsets);
    });
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
    if (file.format == SubtitleFormat::Unknown) {
        ws.ui.showNotice(ws.language.LangMessage(msg::FormatNotRecognised), title());
        return false;
    }
    std::optional<double> microDvdRate;
    if (file.format == SubtitleFormat::MicroDvd && !(microDvdRate = askMicroDvdRate(ws)))
        return false;
    // Only a file whose rows come into the list names the document: one
    // refused, or left unread, must not be proposed by the next save.
    ws.currentSubtitleFile = path;
    bool complete = false;
    switch (file.format) {
    case SubtitleFormat::Unknown:
        break;
    case SubtitleFormat::SubViewer:
        complete = ReadSubViewerFile(ws, file.bytes);
        break;
    case SubtitleFormat::MicroDvd:
        complete = readMicroDvdAt(ws, file.bytes, *microDvdRate);
        break;
    case SubtitleFormat::SubRip:
        complete = ReadSubRipFile(ws, file.bytes);
        break;
    case SubtitleFormat::WebVtt:
        complete = ReadWebVttFile(ws, file.bytes);
        break;
    }
    ws.list.renumber();
    // A file read whole is what is on disk; rows of a failed read are not.
    if (complete)
        ws.list.setModified(false);
    return complete;
}

TimePrecision precisionOf(SaveFormat format)
{
    return format == SaveFormat::SubRip || format == SaveFormat::WebVtt ? TimePrecision::Milliseconds
                                                                        : TimePrecision::Hundredths;
}

bool mnualtyazikaydet_Click(Workspace &ws, SaveFormat format)
{
    // Times are checked at the precision of the format written: a document
    // saved in another format keeps that format's precision from then on.
    if (!CheckOverlaps(ws, precisionOf(format)))
        return false;
    QString filter;
    switch (format) {
    case SaveFormat::SubViewer: filter = QStringLiteral("SubViewer v2 Files *.*|*.*"); break;
    case SaveFormat::MicroDvd: filter = QStringLiteral("Micro DVD Files *.*|*.*"); break;
    case SaveFormat::SubRip: filter = QStringLiteral("SubRip Files|*.srt"); break;
    case SaveFormat::WebVtt: filter = QStringLiteral("WebVTT Files|*.vtt"); break;
    }
    BusyPointer busy(ws.ui);
    const auto path = chooseFileToSave(ws, filter, ws.currentSubtitleFile);
    if (!path)
        return false;
    ws.currentSubtitleFile = *path;
    busy.release();
    bool written = false;
    switch (format) {
    case SaveFormat::SubViewer: written = WriteSubViewerFile(ws, *path); break;
    case SaveFormat::MicroDvd: written = WriteMicroDVDFile(ws, *path); break;
    case SaveFormat::SubRip: written = WriteSubRipFile(ws, *path); break;
    case SaveFormat::WebVtt: written = WriteWebVttFile(ws, *path); break;
    }
    if (written)
        ws.documentFormat = format;
    return written;
}

} // namespace korv
