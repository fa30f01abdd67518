#include "commands/Workspace.h"

namespace korv {

Workspace::Workspace(UserDialogs &dialogs, QObject *parent) : QObject(parent), ui(dialogs) {}

void Workspace::setRestoreEnabled(bool enabled)
{
    if (restoreEnabled_ == enabled)
        return;
    restoreEnabled_ = enabled;
    emit restoreEnabledChanged(enabled);
}

} // namespace korv
