// Text written into an image: the text tool's record (font, colours,
// alignment, rounded background box) rendered through Qt's fonts. The glyphs
// are rendered without antialiasing into a mask whose set pixels take the
// text colour. Needs a QGuiApplication for the fonts.
#pragma once

#include <QFont>
#include <QString>

#include "Image.h"

namespace vimg::display {

// The Windows code page of a logical font's character set ("windows-1252"
// for the western and any unknown set).
const char* CodePage(uint8_t charset);
// The record's text decoded from the code page of its font's character set.
QString RecordText(const TextInfo& info);
// The Qt font of a logical font: face, style, pixel height (negative heights
// are the character height, positive ones the cell) and width.
QFont FontOf(const LOGFONT& lf);

// Writes info->text (in the code page of the font's character set; lines
// broken at CR, LF or CR LF) with its top-left corner at (x, y), y counted
// from the top of the picture, moved left by half or all of its width for
// centre or right alignment (never left of column 0). With `opaque` a box of
// backColor with corners rounded by backRound percent of the line height
// goes under the text, mixed with the picture by backOpacity. Out-of-range
// settings are repaired in the record: align to 1, backRound above 50 to 10,
// backOpacity outside 0..1 to 0. With `setAlpha` the written pixels become
// opaque in the alpha plane. Returns 1 when drawn, -1 for an empty image,
// 0 without a record or without a GUI application (the image is unchanged).
long DrawStringEx(Image& image, int x, int y, TextInfo* info, bool setAlpha = false);

// One text without a box, left aligned with its top-left corner at (x, y);
// `size` is the character height in pixels.
long DrawString(Image& image, int x, int y, const QString& text, COLORREF colour, const QString& fontName,
                int size, int weight = 400, bool italic = false, bool underline = false,
                bool setAlpha = false);

} // namespace vimg::display
