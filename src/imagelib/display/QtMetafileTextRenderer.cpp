#include "QtMetafileTextRenderer.h"

#include "DisplayLog.h"
#include "Image.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace vimg::display {

namespace {

QColor ToQColor(RGBQUAD c) { return QColor(c.rgbRed, c.rgbGreen, c.rgbBlue); }

QFont MakeFont(const MetafileFont& f) {
    QFont font;
    if (!f.face.empty()) font.setFamily(QString::fromStdString(f.face));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    // A negative height is the character (em) height; a positive one the cell
    // height, ascent plus descent, which the em size is scaled to.
    double em = std::abs(f.height);
    if (f.height > 0) {
        QFont probe(font);
        probe.setPixelSize(100);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) em = f.height * 100 / cell;
    }
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    return font;
}

// The picture's pixels in `area` (device rows, top first) to or from `image`.
void CopyIn(const Image& canvas, const QRect& area, QImage& image) {
    const int h = static_cast<int>(canvas.GetHeight());
    for (int y = 0; y < area.height(); ++y) {
        const uint8_t* src =
            canvas.GetBits(static_cast<uint32_t>(h - 1 - (area.top() + y))) + 3 * area.left();
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
    }
}

void CopyOut(const QImage& image, const QRect& area, Image& canvas) {
    const int h = static_cast<int>(canvas.GetHeight());
    for (int y = 0; y < area.height(); ++y) {
        uint8_t* dst = canvas.GetBits(static_cast<uint32_t>(h - 1 - (area.top() + y))) + 3 * area.left();
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
            dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
        }
    }
}

} // namespace

double QtMetafileTextRenderer::Draw(const MetafileTextRun& run, Image& canvas) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qCWarning(lcDisplay) << "metafile text needs a GUI application object";
        return 0;
    }
    if (!canvas.IsValid() || canvas.GetBpp() != 24) return 0;
    const QFont font = MakeFont(run.font);
    const QFontMetricsF metrics(font);
    const QString text = QString::fromUtf16(run.text.data(), static_cast<qsizetype>(run.text.size()));

    // Start of every UTF-16 unit along the baseline, and the whole width.
    std::vector<double> starts;
    double width = 0;
    if (run.advances.empty()) {
        width = metrics.horizontalAdvance(text);
    } else {
        for (double advance : run.advances) {
            starts.push_back(width);
            width += advance;
        }
    }
    using H = MetafileTextRun::HAlign;
    using V = MetafileTextRun::VAlign;
    const double left = run.hAlign == H::Left ? 0 : (run.hAlign == H::Right ? -width : -width / 2);
    const double baseline =
        run.vAlign == V::Top ? metrics.ascent() : (run.vAlign == V::Bottom ? -metrics.descent() : 0);
    const QRectF cells(std::min(left, left + width), baseline - metrics.ascent(), std::abs(width),
                       metrics.ascent() + metrics.descent());
    QTransform place;
    place.translate(run.x, run.y);
    place.rotate(-run.font.escapement / 10.0);

    // Only the pixels the text can reach, with a line height of room for
    // overhangs, go through the painter.
    const double room = metrics.height();
    QRect area = place.mapRect(cells.adjusted(-room, -room, room, room)).toAlignedRect() &
                 QRect(0, 0, static_cast<int>(canvas.GetWidth()), static_cast<int>(canvas.GetHeight()));
    const QRectF clip(run.clipLeft, run.clipTop, run.clipRight - run.clipLeft, run.clipBottom - run.clipTop);
    if (run.clipped) area &= clip.toAlignedRect();
    if (area.isEmpty()) return width;

    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull()) return width;
    CopyIn(canvas, area, image);
    {
        QPainter painter(&image);
        painter.translate(-area.left(), -area.top());
        if (run.clipped) painter.setClipRect(clip);
        painter.setTransform(place, true);
        if (run.opaque) painter.fillRect(cells, ToQColor(run.background));
        painter.setFont(font);
        painter.setPen(ToQColor(run.colour));
        if (run.advances.empty()) {
            painter.drawText(QPointF(left, baseline), text);
        } else {
            // Each character at its own place; a surrogate pair goes as one.
            const qsizetype placed = std::min(text.size(), static_cast<qsizetype>(starts.size()));
            for (qsizetype i = 0; i < placed; ++i) {
                const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                painter.drawText(QPointF(left + starts[static_cast<size_t>(i)], baseline),
                                 text.mid(i, units));
                i += units - 1;
            }
        }
    }
    CopyOut(image, area, canvas);
    return width;
}

} // namespace vimg::display
