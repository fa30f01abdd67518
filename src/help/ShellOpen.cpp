#include "help/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace korv {

void OpenWebAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void OpenMailTo(const QString &address)
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address));
}

} // namespace korv
