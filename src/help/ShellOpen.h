#pragma once
// Opening an address with the desktop's default handler: the web browser
// for a web address, the mail program for an e-mail address. The result is
// not examined: without a handler nothing happens.

#include <QString>

namespace korv {

// The address is handed over unchanged (no scheme is added).
void OpenWebAddress(const QString &address);
// "mailto:" + address.
void OpenMailTo(const QString &address);

} // namespace korv
