// The thumbnail preview of the processing dialogs: a copy of a document's
// image scaled so that its longer side is at most 200 pixels (never
// enlarged, nearest-pixel resampling), and the picture control that shows a
// processed copy of it as a device bitmap.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "Image.h"

class CKXViewDoc;
class QLabel;

class CThumbnailPreview {
public:
    explicit CThumbnailPreview(QLabel* picture) : m_picture(picture) {}

    // 200 / the longer side, at most 1.0, in single precision.
    static float Scale(const vimg::Image& source);
    // Resamples the image the document shows into the thumbnail; false (and
    // an empty thumbnail) when the document has no image.
    bool MakeThumbnail(const CKXViewDoc* document);
    // The image the document shows resampled by `scale` (each side truncated,
    // at least 1) into `out`; false without an image.
    static bool ScaledCopy(const CKXViewDoc* document, float scale, vimg::Image& out);
    const vimg::Image& Thumbnail() const { return m_thumbnail; }
    float ScaleFactor() const { return m_scale; }

    // Releases the previous bitmap and shows `image` in the picture control,
    // which takes the bitmap's size; an empty image clears it.
    void Show(const vimg::Image& image);
    const CBitmap* Bitmap() const { return m_bitmap.get(); }

private:
    QLabel* m_picture;
    vimg::Image m_thumbnail;
    float m_scale = 1.0f;
    std::unique_ptr<CBitmap> m_bitmap;
};
