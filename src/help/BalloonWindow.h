#pragma once
// BalonYardim1: the help tour's balloon. A frameless window as large as the
// screen, cut down to a notebook page in one corner and a tail pointing at
// the control the page explains; everything else lets clicks through to the
// windows below. The page is an HTML file of the "Help" folder beside the
// program. Any key closes the balloon.

#include "help/TourGeometry.h"

#include <QDialog>
#include <QPixmap>
#include <QRegion>

class QLabel;
class QTextBrowser;

namespace korv {

class Language;

class BalloonWindow : public QDialog {
    Q_OBJECT
public:
    // Its help pages are read from the program folder of `language`.
    explicit BalloonWindow(const Language &language, QWidget *parent = nullptr);

    // Shows program folder + "/Help/" + page.
    void navigate(const QString &page);
    // Covers the screen that holds the tip and cuts the window to the balloon
    // whose tail points at tip (screen pixels).
    void shape(int corner, QPoint tip);
    const BalloonShape &currentShape() const { return shape_; }

    static const QColor &background();
    // The body's picture: a spiral-bound notebook page, drawn in code.
    static QPixmap notebookPage(QSize size);

    QLabel *Picture1 = nullptr;  // the body
    QWidget *Picture2 = nullptr; // the strip along the page's margin
    QTextBrowser *Web = nullptr; // the help page

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    const Language &language_;
    BalloonShape shape_;
};

// The visible part of a balloon: its tail united with its body, whose corners
// are rounded by a 10 x 10 ellipse.
QRegion balloonRegion(const BalloonShape &shape);

// Shows the balloon modally and returns when the user has closed it. Only one
// balloon exists at a time: one already loaded is unloaded first.
void ShowBalloon(const Language &language, int corner, int x, int y, const QString &page, QWidget *parent = nullptr);

// True when a loaded window has exactly this object name.
bool IsFormLoaded(const QString &name);

// The tour's screen point for a control: window, containing frame and the
// control's position within its parent (a toolbar button's within the
// toolbar), plus an offset in twips. The window's outer position is used.
QPoint tourScreenPoint(const QWidget *window, const QWidget *frame, const QWidget *control, double offsetX,
                       double offsetY);

} // namespace korv
