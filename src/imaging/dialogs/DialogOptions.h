// "Optionen" (template 145): the image's save settings - JPEG quality, the
// resolution and the codec options of TIFF, GIF, PNG and JPEG - and, when the
// image came with EXIF information, its summary in a message box.
#pragma once

#include <cstdint>

#include "TemplateDialog.h"

namespace vimg {
struct ExifInfo;
}

class CDialogOptions : public CTemplateDialog {
    Q_OBJECT
public:
    // exif: the image's EXIF record (null or not EXIF: the summary button is disabled).
    explicit CDialogOptions(const vimg::ExifInfo* exif = nullptr, QWidget* parent = nullptr);

    // The summary lines of an EXIF record, in their fixed order.
    static QString ExifSummary(const vimg::ExifInfo& exif);

    // Preset by the caller from the image, read after OK.
    uint8_t m_quality = 90;    // checked 1..255
    int m_xDpi = 96;           // checked 0..10000
    unsigned m_yDpi = 96;      // checked 0..10000
    uint32_t m_tiffOption = 0; // compression: 0 auto, 1 none, 2 RLE, 4 fax, 32773 PackBits, 7 JPEG, 5 LZW
    uint32_t m_gifOption = 0;  // 0 LZW, 1 none, 2 RLE
    uint32_t m_pngOption = 0;  // 1 interlaced
    uint32_t m_jpegOption = 0; // 16 progressive, + 8 optimised

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnClicked(int id) override;

private:
    const vimg::ExifInfo* m_exif;
};
