#include "commands/LanguageStartup.h"

#include "document/ProgramInfo.h"
#include "locale/FirstRun.h"
#include "locale/LanguageMenu.h"
#include "locale/Registry.h"

namespace korv {

void RunLanguageStartup(const QString &firstRunFolder, LanguageMenu &menu, const std::function<void()> &showLanguageWindow)
{
    SaveRegSetting(QStringLiteral("version"), QLatin1String(ProgramInfo::kStoredVersion));
    if (!FirstRunDone(firstRunFolder) && showLanguageWindow)
        showLanguageWindow();
    menu.LoadLanguageMenu();
}

} // namespace korv
