#include "commands/FileCommands.h"

#include "commands/CheckCommands.h"
#include "commands/UnsavedChanges.h"
#include "commands/Workspace.h"
#include "document/FileIO.h"
#include "document/FrameRate.h"
#include "document/MicroDvdFormat.h"
#include "document/ProgramInfo.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"


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
        ws.ui.showNotice(ws.language.LangText(text.error()), title());
        return false;
    }
    const Result<QByteArray> bytes = encodeForFile(*text, rowOffsets);
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

bool finishRead(Workspace &ws, ReadOutcome outcome)
{
    const bool ok = outcome.ok();
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
    return true;
}

} // namespace

DetectedFile DetectSubtitleFormat(Workspace &ws, const QString &path)
{
    ws.currentSubtitleFile = path;
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
    const DecodedText decoded = decodeText(bytes);
    return finishRead(ws, subviewer::read(decoded.text, ws.numbers));
}

bool ReadMicroDVDFile(Workspace &ws, const QByteArray &bytes)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(ws.frameRates.film, ws.numbers));
    if (!rate)
        return false; // the window was closed: nothing is read
    ws.frameRates.microDvd = *rate;
    BusyPointer busy(ws.ui);
    const DecodedText decoded = decodeText(bytes);
    return finishRead(ws, microdvd::read(decoded.text, *rate, ws.numbers));
}

bool WriteSubViewerFile(Workspace &ws, const QString &path)
{
    BusyPointer busy(ws.ui);
    std::vector<qsizetype> offsets;
    const Result<QString> text = subviewer::write(ws.list, ws.numbers, &offsets);
    busy.release();
    return finishWrite(ws, path, text, offsets);
}

bool WriteMicroDVDFile(Workspace &ws, const QString &path)
{
    const auto rate = ws.ui.askFrameRate(frameRateProposal(ws.frameRates.film, ws.numbers));
    if (!rate)
        return false; // the window was closed: nothing is written
    ws.frameRates.microDvd = *rate;
    BusyPointer busy(ws.ui);
    std::vector<qsizetype> offsets;
    const Result<QString> text = microdvd::write(ws.list, *rate, ws.numbers, &offsets);
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
        ws.ui.showNotice(ws.language.LangMessage(msg::FormatNotRecognised), title());
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
        ws.documentFormat = file.format == SubtitleFormat::MicroDvd ? SaveFormat::MicroDvd : SaveFormat::SubViewer;
    }
    return complete;
}

bool mnualtyazikaydet_Click(Workspace &ws, SaveFormat format)
{
    if (!CheckOverlaps(ws))
        return false;
    const QString filter = format == SaveFormat::SubViewer ? QStringLiteral("SubViewer v2 Files *.*|*.*")
                                                  : QStringLiteral("Micro DVD Files *.*|*.*");
    BusyPointer busy(ws.ui);
    const auto path = chooseFileToSave(ws, filter, ws.currentSubtitleFile);
    if (!path)
        return false;
    ws.currentSubtitleFile = *path;
    busy.release();
    const bool written = format == SaveFormat::SubViewer ? WriteSubViewerFile(ws, *path) : WriteMicroDVDFile(ws, *path);
    if (written)
        ws.documentFormat = format;
    return written;
}

} // namespace korv
