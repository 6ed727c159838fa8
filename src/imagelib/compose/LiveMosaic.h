// A mosaic that grows from live frames while the stage moves. Each frame is
// registered against the part of the mosaic where the previous frame was placed;
// when it fits, it becomes the current field, and when it also brings enough new
// area it is blended in (new area taken whole, a feathered edge into what was
// there). A frame that cannot be placed (too little overlap, weak correlation:
// moved too fast, out of focus) changes nothing; the next one is tried against
// the same place, so moving back recovers.
//
// AddFrame runs on one worker thread at a time; GetMosaic, GetPreview and
// CurrentField may be called from any thread meanwhile (the UI's).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include <opencv2/core.hpp>

#include "TileRegistration.h"

namespace vimg {
class Image;
}

namespace vimg::compose {

class LiveMosaic {
public:
    enum class Outcome {
        Added,            // placed and blended in
        Placed,           // placed; nothing new to add
        TooLittleOverlap, // not placed: moved too far from the current field
        WeakCorrelation,  // not placed: the overlap does not match (blur, motion, a different scene)
        BadFrame,         // empty, too small or of another size than the first frame
        MosaicFull,       // placed, but the mosaic would outgrow its limit
    };
    struct Settings {
        double minCorrelation = 0.6;
        double minOverlap = 0.2;         // of the frame
        double minNewArea = 0.05;        // of the frame, for the frame to be added
        int64_t maxPixels = 200'000'000; // mosaic limit
        int feather = 32;                // ramp at a new frame's edge, pixels
        int refineSide = 384;            // see TileRegistration::Settings
    };
    struct Report {
        Outcome outcome = Outcome::BadFrame;
        cv::Rect2d field; // where the frame lies in the mosaic (top row 0), when placed
        double correlation = 0;
        double newArea = 0; // fraction of the frame not yet in the mosaic
    };
    struct Field {
        bool valid = false; // false before the first frame
        cv::Rect2d rect;    // the current field in the mosaic
        bool lost = false;  // the last frame could not be placed
    };

    LiveMosaic();
    explicit LiveMosaic(Settings settings);
    ~LiveMosaic();

    Report AddFrame(const Image& frame);
    Report AddFrame(const cv::Mat& bgr);
    // The whole mosaic as a 24-bit image; false before the first frame or when it cannot be allocated.
    bool GetMosaic(Image& out, std::string& error) const;
    // The mosaic shrunk to fit maxWidth x maxHeight, and the current field in its pixels.
    bool GetPreview(int maxWidth, int maxHeight, Image& out, cv::Rect2d& field, std::string& error) const;
    Field CurrentField() const;
    cv::Size MosaicSize() const;
    void Reset();

private:
    struct State;
    // Makes the canvas hold `need`; `moved` is how far existing content shifted.
    bool Grow(const cv::Rect& need, cv::Point& moved);
    void Blend(const cv::Mat& bgr, cv::Point at);
    cv::Rect2d ToMosaic(const cv::Rect2d& canvasRect) const;

    Settings m_settings;
    std::mutex m_addMutex;      // one AddFrame at a time
    mutable std::mutex m_mutex; // the canvas and field
    std::unique_ptr<State> m_state;
};

} // namespace vimg::compose
