#pragma once

#include <cstdint>
#include <vector>

namespace vimg {

class File;

// Camera information decoded from a JPEG file's EXIF block and frame header.
struct ExifInfo {
    char version[5];
    char cameraMake[32];
    char cameraModel[40];
    char dateTime[20];
    int32_t height, width;
    int32_t orientation;
    int32_t isColor;
    int32_t process;
    int32_t flashUsed;
    float focalLength;
    float exposureTime;
    float apertureFNumber;
    float distance;
    float ccdWidth;
    float exposureBias;
    int32_t whiteBalance;
    int32_t meteringMode;
    int32_t exposureProgram;
    int32_t isoEquivalent;
    int32_t compressionLevel;
    float focalPlaneXRes;
    float focalPlaneYRes;
    float focalPlaneUnits;
    float xResolution;
    float yResolution;
    float resolutionUnit;
    float brightness;
    char comments[200];
    uint32_t thumbnailOffset;
    uint32_t thumbnailLength;
    uint8_t isExif;
};

// Scans the marker sections of a JPEG file, decodes its EXIF block into an
// ExifInfo, and writes kept sections back out as a JPEG file.
class ExifReader {
public:
    // Mode bits of DecodeExif.
    static constexpr int kParse = 1;   // decode the EXIF block and the first comment
    static constexpr int kReadAll = 2; // keep everything, image data included
    // Section type holding the image data after the start of scan.
    static constexpr int kImageData = 0x123;

    explicit ExifReader(ExifInfo* info = nullptr);
    ~ExifReader();
    ExifReader(const ExifReader&) = delete;
    ExifReader& operator=(const ExifReader&) = delete;

    bool DecodeExif(File* stream, int mode = kParse);
    bool EncodeExif(File* stream);
    void DiscardAllButExif();
    // Writes a resolution in dots per inch into the kept EXIF block's first
    // directory, where it has the resolution fields; true when it had them.
    bool SetResolution(uint32_t xDpi, uint32_t yDpi);

    const ExifInfo& Info() const { return *m_info; }
    const char* GetLastError() const { return m_error; }

    // Big-endian 16-bit value, and values in the block's byte order.
    static int Get16m(const uint8_t* p);
    int Get16u(const uint8_t* p) const;
    int32_t Get32s(const uint8_t* p) const;
    uint32_t Get32u(const uint8_t* p) const;
    // Numeric value of a tag of any TIFF format (first component).
    double ConvertAnyFormat(const uint8_t* value, int format) const;

private:
    struct Section {
        std::vector<uint8_t> data;
        int type = 0;
    };

    bool Fail(const char* text);
    bool ProcessExif(const uint8_t* block, uint32_t length);
    bool ProcessDir(const uint8_t* dir, const uint8_t* base, uint32_t length, int depth);
    void ProcessComment(const uint8_t* text, uint32_t length);
    void ReadFrameHeader(const std::vector<uint8_t>& data, int marker);

    ExifInfo* m_info;
    bool m_ownsInfo;
    char m_error[256] = {};
    bool m_motorola = false;
    int32_t m_largestDimension = 0;
    std::vector<uint64_t> m_dirsSeen; // offsets of the directories read from the current block
    std::vector<Section> m_sections;
};

} // namespace vimg
