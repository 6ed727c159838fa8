#include "TextDraw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStringDecoder>

namespace vimg::display {

const char* CodePage(uint8_t charset) {
    switch (charset) {
    case 238:
        return "windows-1250";
    case 204:
        return "windows-1251";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    default:
        return "windows-1252";
    }
}

QString RecordText(const TextInfo& info) {
    const QByteArray bytes(info.text, static_cast<qsizetype>(strnlen(info.text, sizeof(info.text))));
    QStringDecoder decoder(CodePage(info.font.lfCharSet));
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QFont FontOf(const LOGFONT& lf) {
    QFont font(QString::fromLatin1(lf.lfFaceName,
                                   static_cast<qsizetype>(strnlen(lf.lfFaceName, sizeof(lf.lfFaceName)))));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfWeight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight, 1, 1000)));
    if (lf.lfHeight < 0) {
        font.setPixelSize(std::min(-static_cast<int64_t>(lf.lfHeight), int64_t{4096}));
    } else if (lf.lfHeight > 0) {
        // A positive height is the whole cell, internal leading included.
        const int cell = std::min(lf.lfHeight, 4096);
        font.setPixelSize(cell);
        const int natural = QFontMetrics(font).height();
        if (natural > 0) font.setPixelSize(std::max(1, cell * cell / natural));
    } else {
        font.setPixelSize(16);
    }
    if (lf.lfWidth > 0) {
        const int average = QFontMetrics(font).averageCharWidth();
        if (average > 0) font.setStretch(std::clamp(lf.lfWidth * 100 / average, 1, 4000));
    }
    return font;
}

namespace {

RGBQUAD Quad(COLORREF colour) {
    return RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 255};
}

// Lays out, renders and writes the text (and its box) into the image.
void Render(Image& image, int x, int y, const QString& text, const QFont& font, const TextInfo& style,
            bool setAlpha) {
    const QFontMetrics metrics(font);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    const int lineHeight = std::max(1, metrics.height());
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    // Slanted glyphs reach beyond their advance.
    if (font.italic()) textWidth += lineHeight / 2;
    int radius = 0, inset = 0;
    if (style.opaque) {
        radius = lineHeight * style.backRound / 100;
        inset = static_cast<int>(radius * 0.29289);
        textWidth += lineHeight / 3;
    }
    const int boxWidth = std::max(1, textWidth + 2 * inset), boxHeight = textHeight + 2 * inset;

    QImage mask(boxWidth, boxHeight, QImage::Format_RGB32);
    if (mask.isNull()) return;
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setFont(font);
        painter.setPen(Qt::white);
        for (int i = 0; i < lines.size(); ++i) {
            const int width = metrics.horizontalAdvance(lines[i]);
            const int offset = style.align == 0   ? 0
                               : style.align == 1 ? (textWidth - width) / 2
                                                  : textWidth - width;
            painter.drawText(inset + offset, inset + i * lineHeight + metrics.ascent(), lines[i]);
        }
    }

    if (style.align == 1)
        x -= boxWidth / 2;
    else if (style.align == 2)
        x -= boxWidth;
    x = std::max(x, 0);
    const int height = static_cast<int>(image.GetHeight());
    // Box row r (from the top) lands on image row height - 1 - (y + r).
    const auto imageRow = [&](int r) { return height - 1 - (y + r); };

    if (style.opaque) {
        const RGBQUAD back = Quad(style.backColor);
        const float opacity = style.backOpacity;
        const bool mixed = opacity > 0.0f && opacity < 1.0f;
        for (int bx = 0; bx < boxWidth; ++bx) {
            // Rows cut off at the top and bottom by the rounded corners.
            int skip = 0;
            const int d = bx < radius               ? radius - bx
                          : bx >= boxWidth - radius ? bx - (boxWidth - 1 - radius)
                                                    : 0;
            if (d > 0) {
                const double rest = std::sqrt(
                    std::max(0.0, static_cast<double>(radius) * radius - static_cast<double>(d) * d));
                skip = static_cast<int>(radius + 0.5 - rest);
            }
            for (int r = skip; r < boxHeight - skip; ++r) {
                const int iy = imageRow(r), ix = x + bx;
                if (!image.IsInside(ix, iy)) continue;
                RGBQUAD c = back;
                if (mixed) {
                    const RGBQUAD under = image.GetPixelColor(ix, iy, false);
                    const auto mix = [&](uint8_t picture, uint8_t box) {
                        return static_cast<uint8_t>(picture * opacity + box * (1.0f - opacity));
                    };
                    c = RGBQUAD{mix(under.rgbBlue, back.rgbBlue), mix(under.rgbGreen, back.rgbGreen),
                                mix(under.rgbRed, back.rgbRed), 255};
                }
                image.SetPixelColor(ix, iy, c, setAlpha);
            }
        }
    }

    const RGBQUAD ink = Quad(style.textColor);
    for (int r = 0; r < boxHeight; ++r) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(r));
        for (int bx = 0; bx < boxWidth; ++bx)
            if (qBlue(line[bx]) != 0) image.SetPixelColor(x + bx, imageRow(r), ink, setAlpha);
    }
}

bool HaveGuiApplication(Image& image) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    image.SetLastError("text needs a GUI application for its fonts");
    return false;
}

} // namespace

long DrawStringEx(Image& image, int x, int y, TextInfo* info, bool setAlpha) {
    if (!image.IsValid()) return -1;
    if (!info || !HaveGuiApplication(image)) return 0;
    if (info->align < 0 || info->align > 2) info->align = 1;
    if (info->backRound > 50) info->backRound = 10;
    if (!(info->backOpacity >= 0.0f && info->backOpacity <= 1.0f)) info->backOpacity = 0.0f;
    Render(image, x, y, RecordText(*info), FontOf(info->font), *info, setAlpha);
    return 1;
}

long DrawString(Image& image, int x, int y, const QString& text, COLORREF colour, const QString& fontName,
                int size, int weight, bool italic, bool underline, bool setAlpha) {
    if (!image.IsValid()) return -1;
    if (!HaveGuiApplication(image)) return 0;
    TextInfo style;
    style.textColor = colour;
    LOGFONT lf;
    lf.lfHeight = -std::max(size, 1);
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    QFont font = FontOf(lf);
    font.setFamily(fontName);
    Render(image, x, y, text, font, style, setAlpha);
    return 1;
}

} // namespace vimg::display
