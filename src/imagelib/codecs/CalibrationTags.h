// The texts that carry a picture's calibration (micrometres per pixel) in the
// metadata of TIFF, PNG and JPEG files, for our own reading and for other
// programs: a plain "Pixel size: 2.5 um" and ImageJ's image description.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vimg {

// "Pixel size: <micrometres> um".
std::string PixelSizeText(double micrometres);
// The micrometres of a PixelSizeText; 0 when the text is not one.
double ParsePixelSizeText(const char* text);

// The description ImageJ reads with a resolution in pixels per centimetre:
// it then shows the pixel size in micrometres. (With "unit=micron" ImageJ
// would take the centimetre resolution as one per micron.)
std::string ImageJDescription();
// Micrometres per pixel from an ImageJ description and the TIFF resolution
// as ImageJ reads them: only micrometre units count; 0 when not calibrated.
double ImageJPixelSize(const char* description, float resolution, bool centimetres);

// Pixels per centimetre for a pixel size and back (0 for 0).
double PixelsPerCentimetre(double micrometres);
double MicrometresFromPixelsPerCentimetre(double pixelsPerCm);

// How a camera took a still, for its EXIF block: "YYYY:MM:DD HH:MM:SS" (or
// null), the exposure in seconds (0: unknown) and a comment (or null).
struct CaptureExif {
    const char* dateTime = nullptr;
    double exposureSeconds = 0;
    const char* userComment = nullptr;
};

// The body of a JPEG APP1 EXIF segment ("Exif\0\0" and a little-endian
// TIFF block) with ImageDescription (PixelSizeText) and the resolution in
// pixels per centimetre when micrometres > 0, Model when a camera is named,
// and DateTime, DateTimeOriginal, ExposureTime and UserComment from `capture`
// (the comment after the PixelSizeText and "; " when calibrated).
std::vector<uint8_t> CalibrationExif(double micrometres, const char* camera, const CaptureExif& capture = {});

} // namespace vimg
