#include "commands/FilmCommands.h"

#include "commands/FileCommands.h"
#include "commands/UnsavedChanges.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "locale/Registry.h"
#include "media/AviHeaders.h"
#include "media/FilmSummary.h"
#include "media/FilmTypes.h"
#include "media/MediaMessages.h"
#include "preview/FilmPreview.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace korv {

namespace {

// Shows the wait window for the life of a read.
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

bool isDatFileName(const QString &path)
{
    return path.right(3).compare(QLatin1String("DAT"), Qt::CaseInsensitive) == 0;
}

const QString kAudioTrackKey = kProgramKey + QStringLiteral("\\AudioTracks");

QString audioTrackName(const QString &path)
{
    const QByteArray absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(absolute, QCryptographicHash::Sha1).toHex());
}

} // namespace

int rememberedAudioTrack(const QString &path)
{
    bool ok = false;
    const int track = RegGetString(kAudioTrackKey, audioTrackName(path), QString()).toInt(&ok);
    return ok && track >= 0 ? track : 0;
}

void rememberAudioTrack(const QString &path, int track)
{
    RegSetString(kAudioTrackKey, audioTrackName(path), QString::number(track));
}

FilmCommands::FilmCommands(Workspace &ws, FilmPreview &preview, QObject *parent)
    : QObject(parent), ws_(ws), preview_(preview)
{
    connect(&preview_.player(), &FilmPlayer::cannotPlay, this, &FilmCommands::reportCannotPlay);
}

QString FilmCommands::filmFilter()
{
    const QString every = media::filmPatterns();
    return QStringLiteral("Film %1|%2|Avi Film *.avi,*.dat|*.avi;*.dat|*.*|*.*")
        .arg(QString(every).replace(QLatin1Char(';'), QLatin1Char(' ')), every);
}

void FilmCommands::tell(const QString &message)
{
    ws_.ui.showNotice(message, ProgramInfo::kNoticeTitle);
}

void FilmCommands::reportCannotPlay(const QString &reason)
{
    // One report a film: the player may give up with several errors, and
    // unreadable headers have been reported already.
    if (preview_.caption() == failureTold_)
        return;
    failureTold_ = preview_.caption();
    const QString why = reason.isEmpty() ? ws_.language.LangText(msg::FilmGaveNoReason) : reason;
    tell(ws_.language.LangText(Message::of(msg::FilmCannotPlay, {why}, preview_.caption())));
}

void FilmCommands::mnufilmac_Click()
{
    BusyPointer busy(ws_.ui);
    const auto path = chooseFileToOpen(ws_, filmFilter());
    if (!path)
        return;
    openFilm(*path);
}

void FilmCommands::openFilm(const QString &path)
{
    // A named pipe would hang the player and the window with it; a folder or
    // a device is no film. Told, and nothing opened.
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        if (isAviFileName(path) || isDatFileName(path))
            tell(unreadableFilm(ws_.language, path));
        else
            tell(ws_.language.LangText(Message::of(msg::NotARegularFile, {}, path)));
        return;
    }
    failureTold_.clear();
    // The information first: when it cannot be read, that is the one report
    // the user gets, whenever the player gives up on the film.
    preview_.setCaption(path);
    std::optional<media::FilmDescription> description = readFilmInformation(path);
    ws_.film.open(path, std::move(description), rememberedAudioTrack(path));
    preview_.player().open(path);
    if (ws_.film.audioTrack() > 0)
        preview_.player().setAudioTrack(ws_.film.audioTrack());
    preview_.TimerAltYazi.start();
}

void FilmCommands::openDroppedFile(const QString &path)
{
    if (media::isFilmFileName(path)) {
        openFilm(path);
        return;
    }
    if (!confirmUnsavedChanges(ws_))
        return;
    ws_.lastDialogPath = path;
    openSubtitleFile(ws_, path);
}

std::optional<media::FilmDescription> FilmCommands::readFilmInformation(const QString &path)
{
    if (isAviFileName(path)) {
        ReadAviInfo(path);
        // The panel is the headers'; the audio tracks are the media library's.
        auto film = media::describeFilm(path);
        if (!film && film.error().key == msg::FilmLibraryMissing) {
            tell(ws_.language.LangText(film.error()));
            failureTold_ = path;
        }
        return film ? std::optional(*film) : std::nullopt;
    }
    Result<media::FilmDescription> film = Failure{};
    {
        BusyPointer busy(ws_.ui);
        WaitWindow wait(showWaitWindow, closeWaitWindow);
        film = media::describeFilm(path);
    }
    if (!film) {
        ws_.frameRates.film = 0;
        preview_.setInformation({});
        // A DAT film the library cannot describe either has no information,
        // and says nothing: the player tells if it cannot play it. The
        // library missing is told whatever the film.
        if (!isDatFileName(path) || film.error().key == msg::FilmLibraryMissing) {
            tell(ws_.language.LangText(film.error()));
            failureTold_ = path;
        }
        return std::nullopt;
    }
    showDescription(*film);
    if (!film->video) {
        tell(ws_.language.LangText(Message::of(msg::FilmHasNoPicture, {}, path)));
        failureTold_ = path;
    } else if (film->endsEarlyAt > 0) {
        const QString at = FormatClockTime(film->endsEarlyAt).value_or(QStringLiteral("-"));
        const QString length = FormatClockTime(film->duration).value_or(QStringLiteral("-"));
        tell(ws_.language.LangText(Message::of(msg::FilmEndsEarly, {at, length}, path)));
        failureTold_ = path;
    }
    return *film;
}

void FilmCommands::showDescription(const media::FilmDescription &film)
{
    FilmInformation info;
    const media::TextOf text = [this](const Message &m) { return ws_.language.LangText(m); };
    ws_.frameRates.film = media::SummarizeFilm(film, ws_.numbers, text, info);
    preview_.setInformation(std::move(info));
}

void FilmCommands::showInformationAgain()
{
    // AVI rows are the headers' own names; only a described film speaks the language.
    if (ws_.film.description() && !isAviFileName(ws_.film.path()))
        showDescription(*ws_.film.description());
}

void FilmCommands::chooseAudioTrack(int track)
{
    if (!ws_.film.setAudioTrack(track))
        return;
    preview_.player().setAudioTrack(track);
    rememberAudioTrack(ws_.film.path(), track);
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
            tell(unreadableFilm(ws_.language, fileName));
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
