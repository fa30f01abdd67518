#include "preview/SystemScrollLock.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KORV_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace korv {

std::optional<bool> readSystemScrollLock()
{
#if defined(Q_OS_WIN)
    return (GetKeyState(VK_SCROLL) & 1) != 0;
#elif defined(KORV_HAVE_X11)
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Atom name = XInternAtom(display, "Scroll Lock", True);
    Bool on = False;
    if (name == None || !XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
#else
    return std::nullopt;
#endif
}

} // namespace korv
