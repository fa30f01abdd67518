// Form1's wiring of the about window, the shortcut table and the help tour.
#include "app/Form1.h"

#include "commands/HelpTour.h"
#include "help/BalloonWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace korv {

void Form1::wireHelp()
{
    TimerOr1 = new QTimer(this);
    TimerOr1->setObjectName(QStringLiteral("TimerOr1"));
    TimerOr1->setInterval(500);
    connect(TimerOr1, &QTimer::timeout, this, [this] { TimerOr1_Timer(ws_); });
    TimerOr2 = new QTimer(this);
    TimerOr2->setObjectName(QStringLiteral("TimerOr2"));
    TimerOr2->setInterval(500);
    connect(TimerOr2, &QTimer::timeout, this, [this] { TimerOr2_Timer(ws_); });
}

void Form1::StartHelpTour()
{
    HelpTourHooks hooks;
    hooks.tipFor = [this](TourTarget target) {
        constexpr double kTwips = kTwipsPerPixel;
        switch (target) {
        case TourTarget::HelpButton: {
            QWidget *button = Cubuk2->widgetForAction(Cubuk2Buttons[2]);
            // The middle of the button's lower edge.
            return tourScreenPoint(this, Frame6, button, button->width() * kTwips / 2, button->height() * kTwips);
        }
        case TourTarget::Tabs:
            return tourScreenPoint(this, Frame3, Sekme, 500, 600);
        case TourTarget::LineField:
            return tourScreenPoint(this, Frame2[0], Text1[EditFields::Line1], 500, 600);
        case TourTarget::TimeFields:
            return tourScreenPoint(this, Frame2[0], Text1[EditFields::Start], 500, 600);
        case TourTarget::LengthenButton:
            return tourScreenPoint(this, Frame2[0], CmdArayiAc, 250, 600);
        }
        return QPoint();
    };
    hooks.showBalloon = [this](int corner, QPoint tip, const QString &page) {
        ShowBalloon(language_, corner, tip.x(), tip.y(), page, this);
    };
    hooks.selectEditTab = [this] {
        Sekme->setCurrentIndex(0);
        Sekme_Click();
    };
    hooks.setTimerOr1 = [this](bool on) { on ? TimerOr1->start() : TimerOr1->stop(); };
    hooks.setTimerOr2 = [this](bool on) { on ? TimerOr2->start() : TimerOr2->stop(); };
    korv::StartHelpTour(ws_, hooks);
}

} // namespace korv
