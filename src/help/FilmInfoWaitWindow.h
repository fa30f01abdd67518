#pragma once
// frmBilgiAliniyor: the small window that stands over the main window while
// a film's headers are read.

#include <QFrame>

class QLabel;

namespace korv {

class FilmInfoWaitWindow : public QFrame {
    Q_OBJECT
public:
    explicit FilmInfoWaitWindow(QWidget *owner = nullptr);

    QLabel *label() const { return label1_; }

    // Centres the window over `owner`, shows it and paints it before
    // returning, so that it is on screen while the caller works.
    void showOver(QWidget *owner);

private:
    void Form_Load();

    QLabel *label1_ = nullptr;
};

} // namespace korv
