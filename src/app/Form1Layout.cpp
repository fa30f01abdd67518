// Form1 follows its size: the resize rule of MainWindowLayout applied to the
// window's frames and controls.
#include "app/Form1.h"

#include "app/MainWindowLayout.h"
#include "app/WaveformStrip.h"

#include <QLabel>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>

namespace korv {

namespace {

void setTop(QWidget *widget, int twips)
{
    widget->move(widget->x(), Twips::toPixels(twips));
}

void setWidth(QWidget *widget, int twips)
{
    widget->resize(Twips::toPixels(twips), widget->height());
}

void setHeight(QWidget *widget, int twips)
{
    widget->resize(widget->width(), Twips::toPixels(twips));
}

} // namespace

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize()
{
    if (!Durum) // still being built
        return;
    const MainWindowLayout layout =
        layoutForClientSize(width() * kTwipsPerPixel, height() * kTwipsPerPixel, isMinimized());
    if (!layout.applies)
        return;

    // A window system without a manager may shrink the window below its
    // minimum; snap back to it.
    const QSize atLeast = size().expandedTo(minimumSize());
    if (atLeast != size())
        resize(atLeast);

    for (const LayoutRow &row : layout.rows) {
        QWidget *widget = nullptr;
        switch (row.target) {
        case LayoutTarget::Frame1: widget = Frame1; break;
        case LayoutTarget::Listview: widget = Listview; break;
        case LayoutTarget::Cubuk: widget = Cubuk; break;
        case LayoutTarget::Frame4: widget = Frame4; break;
        case LayoutTarget::Frame5: widget = Frame5; break;
        case LayoutTarget::Frame3: widget = Frame3; break;
        case LayoutTarget::Frame2:
            for (QWidget *panel : Frame2)
                setTop(panel, row.value);
            continue;
        case LayoutTarget::Frame6: widget = Frame6; break;
        case LayoutTarget::Frame12: widget = Frame12; break;
        case LayoutTarget::MediaPlayer1: widget = MediaPlayer1; break;
        case LayoutTarget::Picture2: widget = Picture2; break;
        case LayoutTarget::LblAltYazi: widget = LblAltYazi; break;
        case LayoutTarget::Frame7: widget = Frame7; break;
        case LayoutTarget::Frame13: widget = Frame13; break;
        case LayoutTarget::Frame14: widget = Frame14; break;
        case LayoutTarget::Frame15: widget = Frame15; break;
        case LayoutTarget::ListView1: widget = ListView1; break;
        case LayoutTarget::ListView1Column3:
            ListView1->setColumnWidth(2, Twips::toPixels(row.value));
            continue;
        case LayoutTarget::Waveform: widget = Waveform; break;
        case LayoutTarget::DurumPanel1:
            // The status bar runs along the bottom edge; its one panel spans
            // it, so it is as wide as the window's inside.
            Durum->setGeometry(0, height() - Durum->height(), width(), Durum->height());
            continue;
        }
        switch (row.property) {
        case LayoutProperty::Top: setTop(widget, row.value); break;
        case LayoutProperty::Width: setWidth(widget, row.value); break;
        case LayoutProperty::Height: setHeight(widget, row.value); break;
        }
    }
    arrangePlayerArea();
}

} // namespace korv
