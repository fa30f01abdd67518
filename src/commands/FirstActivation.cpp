#include "commands/FirstActivation.h"

#include "locale/FirstRun.h"
#include "locale/Language.h"

namespace korv {

bool runFirstActivation(const Language &language, const FirstActivationSteps &steps)
{
    if (FirstRunDone(language.firstRunFolder()))
        return false;
    if (steps.showShortcutTable)
        steps.showShortcutTable();
    if (language.CurrentLanguage() == QLatin1String("Turkish") && steps.startHelpTour)
        steps.startHelpTour();
    WriteFirstRunDone(language.firstRunFolder());
    return true;
}

} // namespace korv
