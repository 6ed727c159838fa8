#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct inflate_state;

namespace vimg {

class File;
class Image;

// Reads the image data of a non-interlaced PNG with 8 or 16 bits per sample
// straight into the rows of an Image in about half the time libpng on zlib takes:
// the IDAT chunks are read from the file with their CRCs checked, inflated by
// ISA-L in bounded pieces, unfiltered and converted row by row exactly as
// ImagePNG's libpng reading does it (16-bit samples rounded to 8 bits like
// png_set_scale_16, colour as BGR, alpha into the alpha plane), then the
// chunks up to IEND are checked as png_read_end does. Large pictures are
// inflated on a second thread while the calling one reads the file and
// unfilters. libpng keeps reading everything in front of the image data.
class PngPixelStream {
public:
    // Whether the rows of such a file come out here as ImagePNG's libpng reading gives them:
    // grey and RGB without a tRNS chunk, RGBA, and 16-bit grey with alpha (8-bit grey with
    // alpha is composed over a background there, which stays with libpng); rows of 256 MiB
    // and more stay there too.
    static bool Takes(uint32_t width, int bitDepth, int colorType, bool interlaced, bool hasTrns);
    // On by default; tests switch it off to compare with libpng's own row reading.
    static void SetEnabled(bool on);
    static bool Enabled();

    // `stream` stands just behind the first IDAT chunk's length and type, where
    // png_read_info leaves it.
    PngPixelStream(File* stream, int bitDepth, int colorType);
    ~PngPixelStream();
    PngPixelStream(const PngPixelStream&) = delete;
    PngPixelStream& operator=(const PngPixelStream&) = delete;

    // Fills `image`, already created as 8-bit grey or 24-bit (with an alpha
    // plane for files with alpha); false with the reason as its last error.
    bool Read(Image& image);

private:
    bool Fail(const char* text);
    bool ReadExactly(uint8_t* buffer, size_t count);
    bool ReadChunkHeader(uint32_t& length, uint32_t& type);
    bool FinishChunk(const char* crcError);
    bool ReadImageData(uint8_t* buffer, size_t capacity, size_t& filled);
    bool Refill();
    bool TakeByte(uint8_t& byte, bool& got);
    bool ReadZlibHeader();
    bool Inflate(uint8_t* out, size_t size);
    bool InflateRows();
    bool DrainImageData();
    bool UnfilterBatch(Image& image, uint8_t* rows, uint32_t first, size_t count);
    bool ReadRows(Image& image);
    bool ReadRowsWithHelper(Image& image);
    bool CheckAdler();
    bool ReadTrailingChunks();

    File* file;
    int bitDepth;
    int colorType;
    int64_t position = 0;  // of the stream, followed here as Tell and Size may seek
    int64_t fileSize = -1; // unknown for streams that cannot tell it
    std::string error;

    // The IDAT chunk being read: bytes left and the CRC of what was read so far.
    uint32_t chunkLeft = 0;
    uint32_t chunkCrc = 0;
    // Set once a chunk other than IDAT follows the image data; its header is kept.
    bool imageDataEnded = false;
    uint32_t nextLength = 0;
    uint32_t nextType = 0;

    // Row geometry: bytes per pixel, per row, and per row with its filter type byte.
    size_t pixelBytes = 0, rowBytes = 0, stride = 0;
    uint32_t height = 0;
    size_t rowsPerBatch = 0;

    // Compressed data read ahead and inflated rows waiting to be unfiltered,
    // each a ring of a few buffers (one of each without the helper thread).
    std::vector<std::vector<uint8_t>> inputs;
    std::vector<size_t> inputSizes;
    std::vector<std::vector<uint8_t>> batches;
    std::vector<uint8_t> above;  // the unfiltered row before the batch, zeros before the first
    std::vector<uint8_t> narrow; // a 16-bit row rounded to 8 bits
    std::unique_ptr<inflate_state> inflater;
    bool inputExhausted = false; // the inflater has had all the image data
    bool headerRead = false;
    // Adler-32 of the rows (taken while unfiltering) and of data after them,
    // and the one stored behind the deflate data.
    uint32_t rowsAdler = 1, surplusAdler = 1;
    uint64_t surplusBytes = 0;
    uint32_t storedAdler = 0;
    bool adlerStored = false;

    // Hand-over between the reading thread and the inflating helper; counts only grow.
    bool threaded = false;
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t inputsFilled = 0, inputsTaken = 0;
    uint64_t batchesFilled = 0, batchesTaken = 0;
    bool inputEnded = false, helperDone = false, helperOk = false, stop = false;
    bool holdingInput = false;
};

} // namespace vimg
