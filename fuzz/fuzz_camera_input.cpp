// Feeds arbitrary bytes to what the camera code reads from outside: the
// configuration file KxConfig.xml and camera frames (Motion JPEG and YUYV).
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "ConfigFile.h"
#include "FrameConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz-kxconfig-" + std::to_string(getpid()) + ".xml";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        CConfigFile(QString::fromStdString(path)).Read(QStringLiteral("CapturePath"));
    }
    kxcam::FrameConverter::FromMjpeg(data, size);
    if (size >= 4) {
        // The first bytes choose the frame's size, the rest is the frame.
        const int width = (data[0] % 64 + 1) * 2;
        const int height = data[1] % 64 + 1;
        const int bytesPerLine = width * 2 + data[2] % 8;
        kxcam::FrameConverter::FromYuyv(data + 4, size - 4, width, height, bytesPerLine);
    }
    return 0;
}
