#pragma once

#include "../Image.h"
#include "ExifReader.h"

#include <cstdio>
#include <memory>

namespace vimg {

class File;

// JPEG reader and writer on libjpeg (format id 3), with the file's EXIF record.
class ImageJPG : public Image {
public:
    // Bits of the JPG codec option word.
    enum Option : uint32_t {
        ENCODE_BASELINE = 0x01,
        ENCODE_ARITHMETIC = 0x02,
        ENCODE_GRAYSCALE = 0x04,
        ENCODE_OPTIMIZE = 0x08,
        ENCODE_PROGRESSIVE = 0x10,
        ENCODE_SMOOTHING = 0x40,
        DECODE_GRAYSCALE = 0x80,
        DECODE_QUANTIZE = 0x100,
        DECODE_DITHER = 0x200,
        DECODE_ONEPASS = 0x400,
        DECODE_NOSMOOTH = 0x800,
    };
    // Values of the dither mode used with DECODE_DITHER (libjpeg's J_DITHER_MODE).
    enum Dither { DITHER_NONE = 0, DITHER_ORDERED = 1, DITHER_FS = 2 };

    ImageJPG();
    ~ImageJPG() override;

    bool Decode(File* stream);
    bool Decode(FILE* stream);
    bool Encode(File* stream);
    bool Encode(FILE* stream);
    // Reads the EXIF record of the file at the stream's position and seeks back; true when there is one.
    bool DecodeExif(File* stream);
    bool DecodeExif(FILE* stream);

    const ExifInfo& GetExifInfo() const { return m_exifInfo; }
    // The EXIF reader of the last DecodeExif (null before), with its error text.
    const ExifReader* GetExifReader() const { return m_exif.get(); }

    void SetSmoothing(int factor) { m_smoothing = factor; }
    int GetSmoothing() const { return m_smoothing; }
    void SetDither(Dither mode) { m_dither = mode; }
    Dither GetDither() const { return m_dither; }

private:
    bool EncodeJpeg(File* stream);

    std::unique_ptr<ExifReader> m_exif;
    ExifInfo m_exifInfo;
    int m_smoothing = 0;
    Dither m_dither = DITHER_FS;
};

} // namespace vimg
