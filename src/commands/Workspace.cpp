#include "commands/Workspace.h"

#include "commands/ReadingCommands.h"

#include <QLocale>

namespace korv {

Workspace::Workspace(UserDialogs &dialogs, Language &lang, QObject *parent)
    : QObject(parent), ui(dialogs), language(lang), numbers(NumberFormat::fromLocale(QLocale())),
      letterCase(letterCaseOf(QLocale()))
{
    fields.precision = [this] { return precision(); };
    reading.rules = [this] { return readingRules(*this); };
    reading.recheckAll();
}

void Workspace::setRestoreEnabled(bool enabled)
{
    if (restoreEnabled_ == enabled)
        return;
    restoreEnabled_ = enabled;
    emit restoreEnabledChanged(enabled);
}

} // namespace korv
