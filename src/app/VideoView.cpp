#include "app/VideoView.h"

#include <QPainter>
#include <QVideoFrame>
#include <QVideoSink>

namespace korv {

VideoView::VideoView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QVideoSink *VideoView::videoSink()
{
    if (!sink_) {
        sink_ = new QVideoSink(this);
        connect(sink_, &QVideoSink::videoFrameChanged, this, &VideoView::showFrame);
    }
    return sink_;
}

VideoView::~VideoView()
{
    // The sink tells the player goodbye as it goes, and the player answers
    // with one last, empty frame: it must not reach a half-destroyed view.
    if (sink_) {
        disconnect(sink_, nullptr, this, nullptr);
        delete sink_;
    }
}

void VideoView::showFrame(const QVideoFrame &frame)
{
    // An empty frame (the film closed) clears the picture.
    picture_ = frame.isValid() ? frame.toImage() : QImage();
    update();
}

QRect VideoView::pictureRect() const
{
    if (picture_.isNull())
        return {};
    QSize size = picture_.size();
    size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void VideoView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!picture_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(pictureRect(), picture_);
    }
}

} // namespace korv
