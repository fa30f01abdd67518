#pragma once
// Shows the film's picture: frames arrive through a video sink and are
// painted by the widget itself, scaled to fit with their shape kept.
//
// Qt's own video widget renders into a native window. Here that window kept
// showing new frames after the film was paused whenever it did not sit at
// the screen's corner, and it paints over sibling widgets; a painted widget
// has neither fault.

#include <QImage>
#include <QWidget>

class QVideoFrame;
class QVideoSink;

namespace korv {

class VideoView : public QWidget {
    Q_OBJECT
public:
    explicit VideoView(QWidget *parent = nullptr);
    ~VideoView() override;

    // Made when first asked for (with the player): a sink starts the media
    // framework, which start-up does without.
    QVideoSink *videoSink();
    // The picture on show (null before the first frame).
    const QImage &picture() const { return picture_; }
    // Where the picture is drawn inside the widget.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showFrame(const QVideoFrame &frame);

    QVideoSink *sink_ = nullptr;
    QImage picture_;
};

} // namespace korv
