#include "commands/LanguageStartup.h"

#include "document/ProgramInfo.h"
#include "locale/FirstRun.h"
#include "locale/LanguageMenu.h"
#include "locale/Registry.h"

namespace korv {

void RunLanguageStartup(const QString &programFolder, LanguageMenu &menu, const std::function<void()> &showLanguageWindow)
{
    SaveRegSetting(QStringLiteral("version"), QLatin1String(ProgramInfo::kStoredVersion));
    if (!FirstRunDone(programFolder) && showLanguageWindow)
        showLanguageWindow();
    menu.LoadLanguageMenu();
}

} // namespace korv
