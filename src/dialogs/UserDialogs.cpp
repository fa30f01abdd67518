#include "dialogs/UserDialogs.h"

namespace korv {

QString fileDialogErrorText(const FileDialogResult &result)
{
    return QStringLiteral("Error %1 selecting file.\r\n%2").arg(result.errorNumber).arg(result.errorDescription);
}

} // namespace korv
