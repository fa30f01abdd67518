#pragma once
// The program's own pictures, drawn rather than shipped: toolbar buttons,
// the skip buttons and the window icon.

#include <QIcon>
#include <QPixmap>

namespace korv::Pictures {

QIcon files();     // "DOSYALAR"
QIcon options();   // "SEÇENEKLER"
QIcon help();      // "YARDIM"
QIcon about();     // "HAKKINDA"
QIcon exit();      // "ÇIKIŞ"
QIcon skipBack();  // Command1(0)
QIcon skipForward(); // Command1(1)
QIcon lengthen();  // CmdArayiAc
QIcon shorten();   // CmdArayiKapat
QIcon program();   // the window icon

} // namespace korv::Pictures
