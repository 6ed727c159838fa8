#include "LockKeys.h"

#include <QGuiApplication>

// Qt built without X11 support cannot hand out its display.
#if VISTOREL_HAVE_X11 && QT_CONFIG(xcb)
#define VISTOREL_READ_XKB 1
#include <X11/XKBlib.h>
#else
#define VISTOREL_READ_XKB 0
#endif

std::optional<bool> CLockKeys::IsOn(Key key) {
#if VISTOREL_READ_XKB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    // Indicators by name: which bit is which depends on the keymap.
    static const char* const names[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    const Atom atom = XInternAtom(display, names[key], True);
    int index = 0;
    Bool on = False;
    Bool real = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, &index, &on, nullptr, &real) || !real)
        return std::nullopt;
    return on != False;
#else
    (void)key;
    return std::nullopt;
#endif
}
