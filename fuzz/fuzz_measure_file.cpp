// Feeds arbitrary bytes to the measurement data-file reader. Whatever it
// accepts must write out and read back to the same objects.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "MeasureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<kxvm::MeasureData> read = kxvm::MeasureFile::Parse(bytes, &error);
    if (!read) return 0;
    const std::optional<kxvm::MeasureData> again =
        kxvm::MeasureFile::Parse(kxvm::MeasureFile::Serialize(*read), &error);
    if (!again || again->objects != read->objects || again->calibration != read->calibration) std::abort();
    return 0;
}
