#include "app/Workspace.h"

namespace korv {

Workspace::Workspace(UserDialogs &dialogs, QObject *parent) : QObject(parent), ui(dialogs) {}

} // namespace korv
