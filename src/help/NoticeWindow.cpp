#include "help/NoticeWindow.h"

#include "help/Twips.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtMath>

namespace korv {

NoticeWindow::NoticeWindow(const Language &language, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmErr"));
    setWindowTitle(QStringLiteral("HATA"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(5745, 2130));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    for (int i = 0; i < kFrameCount; ++i) {
        auto *image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image1(%1)").arg(i));
        image->setGeometry(Twips::rect(60, 195, 1260, 1260));
        image->setPixmap(animationFrame(i));
        image->setAccessibleName(language.LangText(msg::NameNoticePicture));
        images_[std::size_t(i)] = image;
    }

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1(2)"));
    text_->setGeometry(Twips::rect(1740, 180, 3840, 1410));
    text_->setReadOnly(true);
    text_->setAccessibleName(language.LangText(msg::NameNoticeText));
    text_->setTabChangesFocus(true);

    command1_ = new QPushButton(QStringLiteral("TAMAM"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(Twips::rect(3885, 1695, 1710, 330));
    command1_->setDefault(true);
    command1_->setAutoDefault(true);
    connect(command1_, &QPushButton::clicked, this, &QDialog::accept);

    frameStep_ = new QTimer(this);
    frameStep_->setInterval(100);
    connect(frameStep_, &QTimer::timeout, this, [this] {
        if (playing_ < kFrameCount) {
            bringToFront(playing_++);
        } else {
            frameStep_->stop();
            bringToFront(0);
        }
    });
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &NoticeWindow::playFrames);
    timer1_->start();

    bringToFront(0);
    command1_->setFocus();
}

void NoticeWindow::setMessage(const QString &message)
{
    text_->setPlainText(message);
}

QString NoticeWindow::message() const
{
    return text_->toPlainText();
}

void NoticeWindow::bringToFront(int index)
{
    front_ = index;
    images_[std::size_t(index)]->raise();
}

// Each tick shows the five frames 100 ms apart, then rests on the first.
// Stepped by a timer rather than by sleeping, so the window stays live.
void NoticeWindow::playFrames()
{
    playing_ = 0;
    bringToFront(playing_++);
    frameStep_->start();
}

QPixmap NoticeWindow::animationFrame(int index)
{
    const int size = 84;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A speech balloon with an exclamation mark; a light runs round its rim.
    const QRectF body(6, 6, 72, 60);
    QPainterPath balloon;
    balloon.addRoundedRect(body, 16, 16);
    QPainterPath tail;
    tail.moveTo(24, 62);
    tail.lineTo(18, 80);
    tail.lineTo(40, 64);
    balloon = balloon.united(tail);
    p.setPen(QPen(QColor(140, 70, 20), 2));
    p.setBrush(QColor(255, 196, 64));
    p.drawPath(balloon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 40, 0));
    p.drawRoundedRect(QRectF(38, 16, 8, 30), 3, 3);
    p.drawEllipse(QPointF(42, 54), 4.5, 4.5);
    const double angle = -M_PI / 2 + index * 2 * M_PI / kFrameCount;
    const QPointF centre = body.center();
    const QPointF spot(centre.x() + std::cos(angle) * 33, centre.y() + std::sin(angle) * 27);
    QRadialGradient glow(spot, 9);
    glow.setColorAt(0, QColor(255, 255, 255, 230));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glow);
    p.drawEllipse(spot, 9, 9);
    return pixmap;
}

} // namespace korv
