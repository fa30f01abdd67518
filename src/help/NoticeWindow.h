#pragma once
// frmErr: the notice window through which commands report results and
// errors. A white dialog with a small animated picture, the message in a
// multi-line box and "TAMAM" as the default button.

#include <QDialog>
#include <QPixmap>

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace korv {

class Language;

class NoticeWindow : public QDialog {
    Q_OBJECT
public:
    // Its pictures and text have names in `language` for a screen reader.
    explicit NoticeWindow(const Language &language, QWidget *parent = nullptr);

    void setMessage(const QString &message);
    QString message() const;

    static constexpr int kFrameCount = 5;
    // The animation's frames: a picture of the program's own.
    static QPixmap animationFrame(int index);

private:
    void bringToFront(int index);
    void playFrames();

    std::array<QLabel *, kFrameCount> images_{};
    QPlainTextEdit *text_ = nullptr;
    QPushButton *command1_ = nullptr;
    QTimer *timer1_ = nullptr;
    QTimer *frameStep_ = nullptr;
    int front_ = 0;
    int playing_ = 0;
};

} // namespace korv
