// The state of the keyboard's lock keys (Caps, Num, Scroll Lock) as the
// display server's keyboard indicators show it.
#pragma once

#include <optional>

class CLockKeys {
public:
    enum Key { CapsLock, NumLock, ScrollLock };

    // On or off; nothing where the platform cannot tell (no X display, or a
    // keyboard without that indicator).
    static std::optional<bool> IsOn(Key key);
};
