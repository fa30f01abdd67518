#include "app/LanguageStartup.h"

#include "app/FirstRun.h"
#include "app/Registry.h"
#include "help/ProgramInfo.h"
#include "locale/LanguageMenu.h"

namespace korv {

void RunLanguageStartup(LanguageMenu &menu, const std::function<void()> &showLanguageWindow)
{
    SaveRegSetting(QStringLiteral("version"), QLatin1String(ProgramInfo::kStoredVersion));
    if (!FirstRunDone() && showLanguageWindow)
        showLanguageWindow();
    menu.LoadLanguageMenu();
}

} // namespace korv
