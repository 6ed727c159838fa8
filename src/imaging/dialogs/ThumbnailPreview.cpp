#include "ThumbnailPreview.h"

#include <algorithm>

#include <QLabel>
#include <QPixmap>

#include "DeviceContext.h"
#include "ImageBitmap.h"
#include "KXViewDoc.h"

float CThumbnailPreview::Scale(const vimg::Image& source) {
    const auto longer = static_cast<float>(std::max(source.GetWidth(), source.GetHeight()));
    return longer > 0 ? std::min(1.0f, 200.0f / longer) : 1.0f;
}

bool CThumbnailPreview::MakeThumbnail(const CKXViewDoc* document) {
    const vimg::Image* shown = document ? document->DisplayImage() : nullptr;
    m_scale = shown && shown->IsValid() ? Scale(*shown) : 1.0f;
    return ScaledCopy(document, m_scale, m_thumbnail);
}

bool CThumbnailPreview::ScaledCopy(const CKXViewDoc* document, float scale, vimg::Image& out) {
    out.Destroy();
    // While a worker changes the image the view shows the copy taken before;
    // the preview reads that copy too, never the image being changed.
    const vimg::Image* shown = document ? document->DisplayImage() : nullptr;
    if (!shown || !shown->IsValid()) return false;
    // Resampling writes only its source's progress counter, on this thread.
    auto& source = const_cast<vimg::Image&>(*shown);
    const auto w = static_cast<int32_t>(static_cast<float>(source.GetWidth()) * scale);
    const auto h = static_cast<int32_t>(static_cast<float>(source.GetHeight()) * scale);
    return source.Resample(std::max(1, w), std::max(1, h), 1, &out);
}

void CThumbnailPreview::Show(const vimg::Image& image) {
    m_bitmap.reset();
    if (image.IsValid()) {
        // A device bitmap: made for a 32-bit display surface.
        const CDeviceContext screen(1, 1);
        m_bitmap = vimg::display::MakeBitmap(image, &screen);
    }
    if (!m_picture) return;
    if (!m_bitmap) {
        m_picture->clear();
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(m_bitmap->Image()));
    m_picture->resize(m_bitmap->Width(), m_bitmap->Height());
}
