#include "DialogOptions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <QMessageBox>

#include "codecs/ExifReader.h"
#include "IconButton.h"
#include "Resource.h"
#include "Resources.h"

namespace {

// TIFF compression of each radio button; "Grundeinstellung : auto" is the fallback.
constexpr std::pair<int, uint32_t> kTiffRadios[] = {
    {IDC_OPT_TIF_AUTO, 0},         {IDC_OPT_TIF_NONE, 1}, {IDC_OPT_TIF_RLE, 2}, {IDC_OPT_TIF_FAX, 4},
    {IDC_OPT_TIF_PACKBITS, 32773}, {IDC_OPT_TIF_JPEG, 7}, {IDC_OPT_TIF_LZW, 5}};
constexpr uint32_t kJpegProgressive = 16;
constexpr uint32_t kJpegOptimise = 8;

QString Text(const char* field, size_t size) {
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, size)));
}

QString Format(const char* format, auto... values) {
    return QString::asprintf(format, values...);
}

// trunc(v) as an int; the record's numbers come from the file, and a tiny
// exposure time or CCD width must not overflow the conversion.
int Truncated(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

QString OrientationName(int code) {
    switch (code) {
    case 2:
        return QStringLiteral("flip horizontal");
    case 3:
        return QStringLiteral("rotate 180");
    case 4:
        return QStringLiteral("flip vertical");
    case 5:
        return QStringLiteral("transpose");
    case 6:
        return QStringLiteral("rotate 90");
    case 7:
        return QStringLiteral("transverse");
    case 8:
        return QStringLiteral("rotate 270");
    default:
        return QStringLiteral("code %1").arg(code);
    }
}

const char* ProcessName(int marker) {
    // The start-of-frame marker's low four bits name the coding process.
    static const char* const names[16] = {"Baseline",
                                          "Extended sequential",
                                          "Progressive",
                                          "Lossless",
                                          nullptr,
                                          "Differential sequential",
                                          "Differential progressive",
                                          "Differential lossless",
                                          nullptr,
                                          "Extended sequential, arithmetic coding",
                                          "Progressive, arithmetic coding",
                                          "Lossless, arithmetic coding",
                                          nullptr,
                                          "Differential sequential, arithmetic coding",
                                          "Differential progressive, arithmetic coding",
                                          "Differential lossless, arithmetic coding"};
    const int index = marker - 0xC0;
    const char* name = index >= 0 && index < 16 ? names[index] : nullptr;
    return name ? name : "Unknown";
}

} // namespace

CDialogOptions::CDialogOptions(const vimg::ExifInfo* exif, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_OPTIONS), parent), m_exif(exif) {
    const std::pair<int, int> icons[] = {
        {IDOK, IDI_DLG_OK}, {IDCANCEL, IDI_DLG_CANCEL}, {IDC_SHOW_EXIF, IDI_DLG_INFO}};
    for (const auto& [id, icon] : icons)
        static_cast<CIconButton*>(SubclassDlgItem(id, new CIconButton))->SetIcon(icon);
    Bind(IDC_OPT_QUALITY, &m_quality, 1, 255);
    Bind(IDC_OPT_XDPI, &m_xDpi, 0, 10000);
    Bind(IDC_OPT_YDPI, &m_yDpi, 0, 10000);
}

void CDialogOptions::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    // Compression 3 (fax group 3) shows as "Fax"; unknown values as "auto".
    const uint32_t tiff = m_tiffOption == 3 ? 4 : m_tiffOption;
    int tiffRadio = IDC_OPT_TIF_AUTO;
    for (const auto& [id, value] : kTiffRadios)
        if (value == tiff) tiffRadio = id;
    CheckDlgButton(tiffRadio, true);
    CheckDlgButton(m_gifOption == 1   ? IDC_OPT_GIF_NONE
                   : m_gifOption == 2 ? IDC_OPT_GIF_RLE
                                      : IDC_OPT_GIF_LZW,
                   true);
    CheckDlgButton(m_pngOption == 1 ? IDC_OPT_PNG_INTERLACED : IDC_OPT_PNG_PLAIN, true);
    CheckDlgButton((m_jpegOption & kJpegProgressive) ? IDC_OPT_JPG_PROGRESSIVE : IDC_OPT_JPG_BASELINE, true);
    CheckDlgButton(IDC_OPT_JPG_OPTIMISE, (m_jpegOption & kJpegOptimise) != 0);
    if (QWidget* exif = GetDlgItem(IDC_SHOW_EXIF)) exif->setEnabled(m_exif && m_exif->isExif);
}

void CDialogOptions::OnOK() {
    if (!UpdateData(true)) return;
    for (const auto& [id, value] : kTiffRadios)
        if (IsDlgButtonChecked(id)) m_tiffOption = value;
    m_gifOption = IsDlgButtonChecked(IDC_OPT_GIF_NONE) ? 1 : IsDlgButtonChecked(IDC_OPT_GIF_RLE) ? 2 : 0;
    m_pngOption = IsDlgButtonChecked(IDC_OPT_PNG_INTERLACED) ? 1 : 0;
    m_jpegOption = (IsDlgButtonChecked(IDC_OPT_JPG_PROGRESSIVE) ? kJpegProgressive : 0) |
                   (IsDlgButtonChecked(IDC_OPT_JPG_OPTIMISE) ? kJpegOptimise : 0);
    accept();
}

void CDialogOptions::OnClicked(int id) {
    if (id != IDC_SHOW_EXIF || !m_exif || !m_exif->isExif) return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("EXIF"), ExifSummary(*m_exif), QMessageBox::Ok,
                    this);
    box.exec();
}

QString CDialogOptions::ExifSummary(const vimg::ExifInfo& e) {
    QString s;
    if (e.cameraMake[0]) {
        s += QStringLiteral("Camera make  : ") + Text(e.cameraMake, sizeof e.cameraMake) + u'\n';
        s += QStringLiteral("Camera model : ") + Text(e.cameraModel, sizeof e.cameraModel) + u'\n';
    }
    if (e.dateTime[0]) s += QStringLiteral("Date/Time    : ") + Text(e.dateTime, sizeof e.dateTime) + u'\n';
    if (e.version[0]) s += QStringLiteral("Exif version : ") + Text(e.version, sizeof e.version) + u'\n';
    s += Format("Width x Height   : %d x %d\n", e.width, e.height);
    if (e.xResolution != 0 && e.resolutionUnit != 0)
        s += Format("X resolution (dpi) : %5.1f\n", static_cast<double>(e.xResolution / e.resolutionUnit));
    if (e.yResolution != 0 && e.resolutionUnit != 0)
        s += Format("Y resolution (dpi) : %5.1f\n", static_cast<double>(e.yResolution / e.resolutionUnit));
    if (e.orientation > 1) s += QStringLiteral("Orientation  : ") + OrientationName(e.orientation) + u'\n';
    if (!e.isColor) s += QStringLiteral("Color/bw     : Black and white\n");
    if (e.flashUsed >= 0) s += Format("Flash used   : %s\n", e.flashUsed ? "Yes" : "No");
    if (e.focalLength != 0) {
        s += Format("Focal length : %4.1fmm", static_cast<double>(e.focalLength));
        if (e.ccdWidth != 0)
            s +=
                Format("  (35mm equivalent: %dmm)", Truncated(double{e.focalLength / e.ccdWidth * 36} + 0.5));
        s += u'\n';
    }
    if (e.ccdWidth != 0) s += Format("CCD width    : %4.2fmm\n", static_cast<double>(e.ccdWidth));
    if (e.exposureTime != 0) {
        s += Format("Exposure time:%6.3f s ", static_cast<double>(e.exposureTime));
        if (e.exposureTime <= 0.5f) s += Format(" (1/%d)", Truncated(double{1 / e.exposureTime} + 0.5));
        s += u'\n';
    }
    if (e.brightness != 0) s += Format("Brightness : %6.3f\n", static_cast<double>(e.brightness));
    if (e.apertureFNumber != 0)
        s += Format("Aperture     : f/%3.1f\n", static_cast<double>(e.apertureFNumber));
    if (e.distance != 0) {
        if (e.distance < 0)
            s += QStringLiteral("Focus dist.  : Infinite\n");
        else
            s += Format("Focus dist.  : %4.2fm\n", static_cast<double>(e.distance));
    }
    if (e.isoEquivalent != 0) s += Format("ISO equiv.   : %2d\n", e.isoEquivalent);
    if (e.exposureBias != 0) s += Format("Exposure bias:%4.2f\n", static_cast<double>(e.exposureBias));
    switch (e.whiteBalance) {
    case 0:
        break;
    case 1:
        s += QStringLiteral("Whitebalance : sunny\n");
        break;
    case 2:
        s += QStringLiteral("Whitebalance : fluorescent\n");
        break;
    case 3:
        s += QStringLiteral("Whitebalance : incandescent\n");
        break;
    default:
        s += QStringLiteral("Whitebalance : cloudy\n");
        break;
    }
    switch (e.meteringMode) {
    case 2:
        s += QStringLiteral("Metering Mode: center weight\n");
        break;
    case 3:
        s += QStringLiteral("Metering Mode: spot\n");
        break;
    case 5:
        s += QStringLiteral("Metering Mode: matrix\n");
        break;
    default:
        break;
    }
    switch (e.exposureProgram) {
    case 2:
        s += QStringLiteral("Exposure     : program (auto)\n");
        break;
    case 3:
        s += QStringLiteral("Exposure     : aperture priority (semi-auto)\n");
        break;
    case 4:
        s += QStringLiteral("Exposure     : shutter priority (semi-auto)\n");
        break;
    default:
        break;
    }
    switch (e.compressionLevel) {
    case 1:
        s += QStringLiteral("Jpeg Quality : basic\n");
        break;
    case 2:
        s += QStringLiteral("Jpeg Quality : normal\n");
        break;
    case 4:
        s += QStringLiteral("Jpeg Quality : fine\n");
        break;
    default:
        break;
    }
    s += QStringLiteral("Encoding      : ") + QString::fromLatin1(ProcessName(e.process)) + u'\n';
    const QString comment = Text(e.comments, sizeof e.comments).left(1000);
    if (!comment.isEmpty()) {
        QString prefixed = comment;
        // Every inner line break starts a new prefixed line.
        const qsizetype inner = prefixed.endsWith(u'\n') ? prefixed.size() - 1 : prefixed.size();
        prefixed =
            prefixed.left(inner).replace(u'\n', QStringLiteral("\nComment      : ")) + prefixed.mid(inner);
        s += QStringLiteral("Comment      : ") + prefixed;
    }
    s += u'\n';
    return s;
}
