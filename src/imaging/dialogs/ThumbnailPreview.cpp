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
    m_thumbnail.Destroy();
    m_scale = 1.0f;
    // While a worker changes the image the view shows the copy taken before;
    // the preview reads that copy too, never the image being changed.
    const vimg::Image* shown = document ? document->DisplayImage() : nullptr;
    if (!shown || !shown->IsValid()) return false;
    // Resampling writes only its source's progress counter, on this thread.
    auto& source = const_cast<vimg::Image&>(*shown);
    m_scale = Scale(source);
    const auto w = static_cast<int32_t>(static_cast<float>(source.GetWidth()) * m_scale);
    const auto h = static_cast<int32_t>(static_cast<float>(source.GetHeight()) * m_scale);
    return source.Resample(std::max(1, w), std::max(1, h), 1, &m_thumbnail);
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
