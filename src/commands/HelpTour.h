#pragma once
// The guided help tour: two sample subtitles, five balloons pointing at the
// controls they explain while two timers show what the controls do, a last
// reminder, and the sample rows removed again. Only in Turkish.

#include <QPoint>
#include <QString>

#include <functional>

namespace korv {

class Workspace;

// The controls the balloons point at, in the tour's order.
enum class TourTarget { HelpButton, Tabs, LineField, TimeFields, LengthenButton };

struct HelpTourHooks {
    // Screen point (pixels) the balloon's tail aims at for a control.
    std::function<QPoint(TourTarget)> tipFor;
    // Shows a balloon modally; returns when the user closed it.
    std::function<void(int corner, QPoint tip, const QString &page)> showBalloon;
    // Select tab 1 (the edit panel).
    std::function<void()> selectEditTab;
    // TimerOr1 (the selection blinks between rows 1 and 2) and TimerOr2
    // (the selected subtitle's end grows by a quarter second).
    std::function<void(bool on)> setTimerOr1;
    std::function<void(bool on)> setTimerOr2;
};

void StartHelpTour(Workspace &ws, const HelpTourHooks &hooks);

// The two demonstration timers' ticks.
void TimerOr1_Timer(Workspace &ws);
void TimerOr2_Timer(Workspace &ws);

// The reminder shown at the end of the tour.
QString helpTourClosingText();

} // namespace korv
