#pragma once
// frmBilgiAliniyor: the small window that stands over the main window while
// a film's headers are read.

#include <QFrame>

class QLabel;

namespace korv {

class Language;

class FilmInfoWaitWindow : public QFrame {
    Q_OBJECT
public:
    // Its text comes from `language`.
    explicit FilmInfoWaitWindow(const Language &language, QWidget *owner = nullptr);

    QLabel *label() const { return label1_; }

    // Centres the window over `owner`, shows it and paints it before
    // returning, so that it is on screen while the caller works.
    void showOver(QWidget *owner);

private:
    void Form_Load();

    const Language &language_;
    QLabel *label1_ = nullptr;
};

} // namespace korv
