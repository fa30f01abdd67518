#include "commands/FilmCommands.h"

#include "commands/FileCommands.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "preview/AviHeaders.h"
#include "preview/FilmPreview.h"

#include <QFileInfo>

namespace korv {

namespace {

// Shows the wait window for the life of a header read.
class WaitWindow {
public:
    WaitWindow(const std::function<void()> &show, const std::function<void()> &close) : close_(close)
    {
        if (show)
            show();
    }
    ~WaitWindow()
    {
        if (close_)
            close_();
    }
    WaitWindow(const WaitWindow &) = delete;
    WaitWindow &operator=(const WaitWindow &) = delete;

private:
    const std::function<void()> &close_;
};

QString unreadableFilm(const Language &language, const QString &path)
{
    return language.LangMessage(msg::FilmUnreadable) + QStringLiteral("\r\n") + path;
}

} // namespace

FilmCommands::FilmCommands(Workspace &ws, FilmPreview &preview, QObject *parent)
    : QObject(parent), ws_(ws), preview_(preview)
{
    connect(&preview_.player(), &FilmPlayer::cannotPlay, this, &FilmCommands::reportCannotPlay);
}

void FilmCommands::reportCannotPlay(const QString &reason)
{
    // One report a film: the player may give up with several errors, and
    // unreadable headers have been reported already.
    if (preview_.caption() == failureTold_)
        return;
    failureTold_ = preview_.caption();
    const QString why = reason.isEmpty() ? ws_.language.LangText(msg::FilmGaveNoReason) : reason;
    ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::FilmCannotPlay, {why}, preview_.caption())),
                      ProgramInfo::kNoticeTitle);
}

void FilmCommands::mnufilmac_Click()
{
    BusyPointer busy(ws_.ui);
    const auto path = chooseFileToOpen(ws_, QStringLiteral("Avi Film *.avi,*.dat|*.avi;*.dat"));
    if (!path)
        return;
    // A named pipe would hang the player and the window with it; a folder or
    // a device is no film. Told as an unreadable film, and nothing opened.
    if (const QFileInfo info(*path); info.exists() && !info.isFile()) {
        ws_.ui.showNotice(unreadableFilm(ws_.language, *path), ProgramInfo::kNoticeTitle);
        return;
    }
    failureTold_.clear();
    // The headers first: when they cannot be read, that is the one report
    // the user gets, whenever the player gives up on the film.
    preview_.setCaption(*path);
    ReadAviInfo(*path);
    preview_.player().open(*path);
    preview_.TimerAltYazi.start();
}

void FilmCommands::ReadAviInfo(const QString &fileName)
{
    if (!isAviFileName(fileName)) {
        ws_.frameRates.film = 0;
        preview_.setInformation({});
        return;
    }
    // The details list empties first; the labels and the frame rate keep
    // describing the film read last until this one is read.
    FilmInformation kept = preview_.information();
    kept.rows.clear();
    preview_.setInformation(kept);
    AviHeaders headers;
    {
        BusyPointer busy(ws_.ui);
        WaitWindow wait(showWaitWindow, closeWaitWindow);
        headers = readAviHeaders(fileName);
        if (!headers.ok() && headers.failure != AviHeaders::StreamRange) {
            ws_.ui.showNotice(unreadableFilm(ws_.language, fileName), ProgramInfo::kNoticeTitle);
            failureTold_ = fileName;
        }
    }
    if (!headers.ok())
        return;
    FilmInformation next;
    ws_.frameRates.film = SummarizeAvi(headers.file, headers.stream, ws_.numbers, next);
    ShowAviDetails(headers.file, headers.stream, next.rows);
    preview_.setInformation(std::move(next));
}

} // namespace korv
