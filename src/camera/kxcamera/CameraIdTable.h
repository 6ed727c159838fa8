// USB vendor and product ids of the supported cameras and the camera index
// each gives (the index handed to KXCamera_SetCamera).
#pragma once

#include <QString>

namespace kxcam {

class CameraIdTable {
public:
    // Ids as four hexadecimal characters, compared without regard to case;
    // the first matching row wins. -1 when no row matches.
    static int Lookup(const QString& vendor, const QString& product);
    static int Lookup(uint16_t vendor, uint16_t product);
};

} // namespace kxcam
