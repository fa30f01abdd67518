// Form1's wiring of the film player, overlay, position labels, AVI information, keypad capture.
#include "app/Form1.h"

#include "app/FilmControlBar.h"
#include "app/VideoView.h"
#include "commands/FilmCommands.h"
#include "help/FilmInfoWaitWindow.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "media/FilmSummary.h"
#include "preview/FilmPreview.h"
#include "preview/QtFilmPlayer.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QToolButton>
#include <QTableView>
#include <QTreeWidget>
#include <QVideoSink>

#include <memory>

namespace korv {

namespace {

// The one local file a drop carries; empty for anything else.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return QString();
    return data->urls().first().toLocalFile();
}

} // namespace

// The picture ends where the subtitle strip Picture2 begins and the position
// bar starts below it, so the strip never hides the picture; both follow the
// player's size.
void Form1::arrangePlayerArea()
{
    if (!filmVideo_ || !filmBar_)
        return;
    const int stripTop = Picture2->y() - MediaPlayer1->y();
    const int stripBottom = stripTop + Picture2->height();
    filmVideo_->setGeometry(0, 0, MediaPlayer1->width(), stripTop);
    filmBar_->setGeometry(0, stripBottom, MediaPlayer1->width(), MediaPlayer1->height() - stripBottom);
}

void Form1::nameFilmControls()
{
    if (auto *bar = qobject_cast<FilmControlBar *>(filmBar_)) {
        bar->playPause()->setAccessibleName(ws_.language.LangText(msg::NamePlayPause));
        bar->slider()->setAccessibleName(ws_.language.LangText(msg::NameFilmPosition));
    }
    showAudioTracks();
    if (filmCommands)
        filmCommands->showInformationAgain();
}

void Form1::showAudioTracks()
{
    if (!mnusesizi)
        return;
    mnusesizi->setTitle(ws_.language.LangText(msg::AudioTrackMenu));
    mnusesizi->clear();
    qDeleteAll(mnusesizi->findChildren<QActionGroup *>(QString(), Qt::FindDirectChildrenOnly));
    const media::TextOf text = [this](const Message &m) { return ws_.language.LangText(m); };
    auto *group = new QActionGroup(mnusesizi);
    const auto &film = ws_.film.description();
    for (int i = 0; film && i < int(film->audio.size()); ++i) {
        QAction *item = mnusesizi->addAction(
            QStringLiteral("%1: %2").arg(i + 1).arg(media::audioTrackText(film->audio[std::size_t(i)], text)));
        item->setObjectName(QStringLiteral("mnusesizi(%1)").arg(i));
        item->setCheckable(true);
        item->setChecked(i == ws_.film.audioTrack());
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { filmCommands->chooseAudioTrack(i); });
    }
    mnusesizi->setEnabled(ws_.film.audioTrackCount() > 0);
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so the program it came from is not kept
    // waiting while the editor asks about unsaved changes.
    QTimer::singleShot(0, this, [this, path] { filmCommands->openDroppedFile(path); });
}

void Form1::wirePreview()
{
    filmPlayer = new QtFilmPlayer(this);

    filmVideo_ = new VideoView(MediaPlayer1);
    filmVideo_->setObjectName(QStringLiteral("MediaPlayer1-video"));
    filmPlayer->setVideoOutput([this] { return filmVideo_->videoSink(); });
    filmBar_ = new FilmControlBar(*filmPlayer, MediaPlayer1);
    arrangePlayerArea();
    Picture2->raise();
    LblAltYazi->setTextFormat(Qt::PlainText);

    preview = new FilmPreview(ws_.list, *filmPlayer, ws_.frameRates, ws_.numbers, this);
    preview->listFollowsFilm = [this] { return ws_.option(Option::ListFollowsFilm); };
    filmCommands = new FilmCommands(ws_, *preview, this);
    connect(mnufilmac, &QAction::triggered, filmCommands, &FilmCommands::mnufilmac_Click);
    // The audio tracks under "FİLM AÇ", before the save items.
    mnusesizi = new QMenu(this);
    mnusesizi->setObjectName(QStringLiteral("mnusesizi"));
    const QList<QAction *> items = mnudosyamenu->actions();
    const qsizetype film = items.indexOf(mnufilmac);
    mnudosyamenu->insertMenu(items.value(film + 1), mnusesizi);
    connect(&ws_.film, &OpenFilm::audioTrackChanged, this, &Form1::showAudioTracks);
    setAcceptDrops(true);
    connect(preview, &FilmPreview::captionChanged, this, &QWidget::setWindowTitle);
    connect(preview, &FilmPreview::overlayTextChanged, LblAltYazi, [this](const QString &text) {
        QString lines = text;
        LblAltYazi->setText(lines.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    });
    connect(preview, &FilmPreview::clockChanged, this, [this](const FilmClockLabels &labels) {
        LblCurrentTime->setText(labels.time);
        LblCurrentFrame->setText(labels.frame);
        LblCurrentAdTime->setText(labels.clockTime);
    });
    connect(preview, &FilmPreview::informationChanged, this, [this] {
        const FilmInformation &info = preview->information();
        Label4->setText(info.resolution);
        Label5->setText(info.totalFrames);
        Label6->setText(info.totalTime);
        Label7->setText(info.frameRate);
        ListView1->clear();
        QList<QTreeWidgetItem *> items;
        for (const AviInfoRow &row : info.rows) {
            auto *item = new QTreeWidgetItem({QString(), row.name, row.value});
            if (row.bold) {
                QFont bold = item->font(2);
                bold.setBold(true);
                item->setFont(2, bold);
            }
            items << item;
        }
        ListView1->addTopLevelItems(items);
    });

    auto wait = std::make_shared<QPointer<FilmInfoWaitWindow>>();
    filmCommands->showWaitWindow = [this, wait] {
        *wait = new FilmInfoWaitWindow(language_, this);
        (*wait)->showOver(this);
    };
    filmCommands->closeWaitWindow = [wait] { delete wait->data(); };

    connect(Listview, &QAbstractItemView::doubleClicked, preview, [this](const QModelIndex &index) {
        if (index.isValid())
            preview->Listview_DblClick();
    });

    preview->startTimers();
    connect(qApp, &QCoreApplication::aboutToQuit, preview, &FilmPreview::shutdown);
}

} // namespace korv
