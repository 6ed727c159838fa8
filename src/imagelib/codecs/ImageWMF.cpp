#include "ImageWMF.h"

#include "../File.h"
#include "../MemFile.h"
#include "ByteOrder.h"
#include "ImageBMP.h"
#include "MetafileCanvas.h"
#include "MetafileTextRecords.h"
#include "MetafileTextRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace vimg {

namespace {

using Point = MetafileCanvas::Point;

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t kMaxSide = 4096;             // largest picture a metafile is played into
constexpr int32_t kScreenDpi = 96;
constexpr size_t kMaxSavedStates = 256;
constexpr double kDefaultFontPixels = 16; // cell height of the default font on the reference device
constexpr double kMaxFontPixels = 32768;

struct Pen {
    RGBQUAD colour;
    double width = 0; // logical units; 0 is one pixel
    bool visible = true;
};
struct Brush {
    RGBQUAD colour{255, 255, 255, 0};
    bool visible = true;
};
struct Object {
    enum Kind { None, PenObject, BrushObject, FontObject, Other } kind = None;
    Pen pen;
    Brush brush;
    MetafileFont font;
};

// The device-context state the records change.
struct State {
    double winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
    double vpOrgX = 0, vpOrgY = 0, vpExtX = 1, vpExtY = 1;
    int32_t mapMode = 1; // MM_TEXT
    Pen pen;
    Brush brush;
    bool winding = false;
    Point position;
    MetafileFont font;
    RGBQUAD textColour{};
    RGBQUAD backColour{255, 255, 255, 0};
    bool opaqueBack = true; // OPAQUE background mode
    uint32_t textAlign = 0; // TA_ flags
};

RGBQUAD FromColorRef(uint32_t c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

// Logical to output pixels: window to viewport, then a fixed device-to-output step.
struct Mapper {
    State* s;
    double devScaleX = 1, devScaleY = 1, devOffX = 0, devOffY = 0;

    double ScaleX() const {
        if (s->mapMode == 1 || s->winExtX == 0) return 1;
        return s->vpExtX / s->winExtX;
    }
    double ScaleY() const {
        if (s->mapMode == 1 || s->winExtY == 0) return 1;
        return s->vpExtY / s->winExtY;
    }
    Point Map(double x, double y) const {
        const double dx = (x - s->winOrgX) * ScaleX() + s->vpOrgX;
        const double dy = (y - s->winOrgY) * ScaleY() + s->vpOrgY;
        return Point{dx * devScaleX + devOffX, dy * devScaleY + devOffY};
    }
    double PenWidth(double logical) const {
        const double w = std::abs(logical * ScaleX() * devScaleX);
        return std::max(1.0, w);
    }
};

// Draws a filled and outlined shape with the current brush and pen.
void Shape(MetafileCanvas& canvas, const Mapper& m, const std::vector<std::vector<Point>>& rings,
           bool closed) {
    const State& s = *m.s;
    if (closed && s.brush.visible) canvas.FillPolygon(rings, s.brush.colour, s.winding);
    if (s.pen.visible)
        for (const auto& ring : rings)
            canvas.StrokePolyline(ring, closed, s.pen.colour, m.PenWidth(s.pen.width));
}

// Cubic Bezier segments (start, then control, control, end for each) as line points.
std::vector<Point> FlattenBeziers(const std::vector<Point>& p) {
    std::vector<Point> out;
    if (p.empty()) return out;
    out.push_back(p[0]);
    for (size_t i = 1; i + 2 < p.size(); i += 3) {
        const Point a = p[i - 1], b = p[i], c = p[i + 1], d = p[i + 2];
        for (int k = 1; k <= 16; ++k) {
            const double t = k / 16.0, u = 1 - t;
            out.push_back(
                Point{u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                      u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y});
        }
    }
    return out;
}

std::vector<Point> RectPoints(const Mapper& m, double l, double t, double r, double b) {
    return {m.Map(l, t), m.Map(r, t), m.Map(r, b), m.Map(l, b)};
}

// Plays a text-output record: the opaque rectangle, then the string through
// the renderer (if any); with TA_UPDATECP the current position is the
// reference point and moves by the text's advance.
void PlayText(MetafileCanvas& canvas, Image& target, const Mapper& m, const metafile::TextRecord& rec,
              MetafileTextRenderer* renderer) {
    State& s = *m.s;
    if (rec.hasRect && (rec.options & metafile::kEtoOpaque))
        canvas.FillPolygon({RectPoints(m, rec.left, rec.top, rec.right, rec.bottom)}, s.backColour, false);
    const bool updatePosition = s.textAlign & 1;
    const Point ref = updatePosition ? s.position : Point{rec.x, rec.y};
    const double sx = m.ScaleX() * m.devScaleX, sy = m.ScaleY() * m.devScaleY;
    double advance = 0; // device pixels
    for (double d : rec.dx) advance += d * std::abs(sx);

    MetafileTextRun run;
    run.font = s.font;
    run.font.height =
        s.font.height == 0 ? kDefaultFontPixels * std::abs(m.devScaleY) : s.font.height * std::abs(sy);
    const bool drawable = renderer && !rec.text.empty() && std::abs(run.font.height) >= 1 &&
                          std::abs(run.font.height) <= kMaxFontPixels;
    if (drawable) {
        const Point at = m.Map(ref.x, ref.y);
        run.text = rec.text;
        run.x = at.x;
        run.y = at.y;
        const uint32_t h = s.textAlign & 6, v = s.textAlign & 24;
        run.hAlign = h == 6 ? MetafileTextRun::HAlign::Centre
                            : (h == 2 ? MetafileTextRun::HAlign::Right : MetafileTextRun::HAlign::Left);
        run.vAlign = v == 24 ? MetafileTextRun::VAlign::Baseline
                             : (v == 8 ? MetafileTextRun::VAlign::Bottom : MetafileTextRun::VAlign::Top);
        run.colour = s.textColour;
        run.opaque = s.opaqueBack;
        run.background = s.backColour;
        for (double d : rec.dx) run.advances.push_back(d * std::abs(sx));
        if (rec.hasRect && (rec.options & metafile::kEtoClipped)) {
            const Point a = m.Map(rec.left, rec.top), b = m.Map(rec.right, rec.bottom);
            run.clipped = true;
            run.clipLeft = std::min(a.x, b.x);
            run.clipRight = std::max(a.x, b.x);
            run.clipTop = std::min(a.y, b.y);
            run.clipBottom = std::max(a.y, b.y);
        }
        // Charged like filling the text's cells, at most the whole picture.
        const double area = static_cast<double>(target.GetWidth()) * target.GetHeight();
        const double cells = (run.text.size() + 1.0) * run.font.height * run.font.height;
        canvas.Spend(static_cast<int64_t>(std::min(area, cells)) + 1);
        const double drawn = renderer->Draw(run, target);
        if (rec.dx.empty() && std::isfinite(drawn)) advance = drawn;
    }
    if (!updatePosition || sx == 0 || sy == 0) return;
    // The position moves along the baseline: forwards for left-aligned text,
    // backwards for right-aligned, not at all for centred.
    const uint32_t h = s.textAlign & 6;
    const double step = h == 6 ? 0 : (h == 2 ? -advance : advance);
    const double angle = s.font.escapement * 3.14159265358979323846 / 1800;
    s.position = Point{ref.x + step * std::cos(angle) / sx, ref.y - step * std::sin(angle) / sy};
}

// A bare device-independent bitmap decoded through the BMP reader.
bool DecodeDib(const uint8_t* dib, size_t size, Image& out) {
    if (size < 40) return false;
    std::vector<uint8_t> copy(dib, dib + size);
    MemFile file(copy.data(), static_cast<uint32_t>(copy.size()));
    ImageBMP bmp;
    if (!bmp.Decode(&file)) return false;
    return out.Transfer(bmp);
}

} // namespace

bool ImageWMF::CreateCanvas(double width, double height, bool& sizeOnly) {
    const uint32_t w = static_cast<uint32_t>(std::min<double>(std::lround(width), kMaxSide));
    const uint32_t h = static_cast<uint32_t>(std::min<double>(std::lround(height), kMaxSide));
    sizeOnly = info.escape == -1;
    if (sizeOnly) {
        head.biWidth = static_cast<int32_t>(w);
        head.biHeight = static_cast<int32_t>(h);
        return true;
    }
    if (!Create(w, h, 24, FORMAT_WMF)) return false; // Create left its text
    std::memset(GetBits(0), 255, GetEffWidth() * static_cast<size_t>(h));
    return true;
}

bool ImageWMF::Encode(File*) { return Fail("Save WMF not supported"); }

bool ImageWMF::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell(), end = stream->Size();
    if (start < 0 || end - start < 18) return Fail("corrupted WMF");
    std::vector<uint8_t> data;
    try {
        data.resize(static_cast<size_t>(end - start));
    } catch (const std::bad_alloc&) {
        return Fail("corrupted WMF");
    }
    if (stream->Read(data.data(), 1, data.size()) != data.size()) return Fail("corrupted WMF");
    if (data.size() >= 44 && bytes::Le32(data.data()) == 1 && bytes::Le32(data.data() + 40) == kEmfSignature)
        return PlayEmf(data);
    return PlayWmf(data);
}

bool ImageWMF::PlayWmf(const std::vector<uint8_t>& data) {
    size_t pos = 0;
    bool placeable = false;
    int32_t bbLeft = 0, bbTop = 0, bbRight = 0, bbBottom = 0;
    uint32_t inch = 0;
    if (bytes::Le32(data.data()) == kPlaceableKey) {
        if (data.size() < 22 + 18) return Fail("corrupted WMF");
        placeable = true;
        bbLeft = static_cast<int16_t>(bytes::Le16(&data[6]));
        bbTop = static_cast<int16_t>(bytes::Le16(&data[8]));
        bbRight = static_cast<int16_t>(bytes::Le16(&data[10]));
        bbBottom = static_cast<int16_t>(bytes::Le16(&data[12]));
        inch = bytes::Le16(&data[14]);
        pos = 22;
    }
    const uint32_t type = bytes::Le16(&data[pos]), headerWords = bytes::Le16(&data[pos + 2]);
    const uint32_t version = bytes::Le16(&data[pos + 4]);
    const uint32_t numObjects = bytes::Le16(&data[pos + 10]);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return Fail("corrupted WMF");
    pos += 18;

    // Records: size in 16-bit words (including the 6-byte head), function, parameters.
    struct Record {
        size_t at;
        size_t size;
        uint32_t function;
    };
    std::vector<Record> records;
    bool sawWindowExt = false;
    double extX = 0, extY = 0, orgX = 0, orgY = 0;
    while (pos + 6 <= data.size()) {
        const uint64_t size = static_cast<uint64_t>(bytes::Le32(&data[pos])) * 2;
        const uint32_t function = bytes::Le16(&data[pos + 4]);
        if (function == 0) break; // end of file
        if (size < 6 || size > data.size() - pos) return Fail("corrupted WMF");
        records.push_back(Record{pos, static_cast<size_t>(size), function});
        if (size >= 10 && function == 0x020C && !sawWindowExt) { // SetWindowExt (y, x)
            extY = static_cast<int16_t>(bytes::Le16(&data[pos + 6]));
            extX = static_cast<int16_t>(bytes::Le16(&data[pos + 8]));
            sawWindowExt = true;
        } else if (size >= 10 && function == 0x020B && !sawWindowExt) { // SetWindowOrg (y, x)
            orgY = static_cast<int16_t>(bytes::Le16(&data[pos + 6]));
            orgX = static_cast<int16_t>(bytes::Le16(&data[pos + 8]));
        }
        pos += static_cast<size_t>(size);
    }

    // Picture size: the placeable bounds at screen resolution, else the window extent in pixels.
    double width = 0, height = 0;
    if (placeable) {
        if (inch == 0) return Fail("corrupted WMF");
        width = std::abs(bbRight - bbLeft) * static_cast<double>(kScreenDpi) / inch;
        height = std::abs(bbBottom - bbTop) * static_cast<double>(kScreenDpi) / inch;
    } else if (sawWindowExt) {
        width = std::abs(extX);
        height = std::abs(extY);
    }
    if (records.empty() || width < 1 || height < 1) return Fail("empty WMF");
    bool sizeOnly = false;
    if (!CreateCanvas(width, height, sizeOnly)) return false;
    if (sizeOnly) return true;
    const uint32_t w = GetWidth(), h = GetHeight();

    // The window (from the bounds or the records) is stretched over the whole picture.
    State state;
    state.mapMode = 8;
    state.winOrgX = placeable ? bbLeft : orgX;
    state.winOrgY = placeable ? bbTop : orgY;
    state.winExtX = placeable ? bbRight - bbLeft : extX;
    state.winExtY = placeable ? bbBottom - bbTop : extY;
    state.vpExtX = w;
    state.vpExtY = h;
    std::vector<State> saved;
    Mapper m{&state};
    MetafileCanvas canvas(*this);
    const std::shared_ptr<MetafileTextRenderer> renderer = MetafileTextRenderer::Installed();
    std::vector<Object> objects(std::max<uint32_t>(numObjects, 1));
    const auto addObject = [&](const Object& o) {
        for (Object& slot : objects)
            if (slot.kind == Object::None) {
                slot = o;
                return;
            }
        if (objects.size() < 65535) objects.push_back(o);
    };

    for (size_t r = 0; r < records.size() && canvas.HasBudget(); ++r) {
        if (info.escape && (r & 255) == 0) return Fail("Cancelled");
        const Record& rec = records[r];
        const uint8_t* p = &data[rec.at + 6];
        const size_t n = rec.size - 6; // parameter bytes
        const auto s16 = [&](size_t i) {
            return 2 * i + 2 <= n ? static_cast<int16_t>(bytes::Le16(p + 2 * i)) : int16_t{0};
        };
        const auto u16 = [&](size_t i) { return 2 * i + 2 <= n ? bytes::Le16(p + 2 * i) : uint16_t{0}; };
        const auto colour = [&](size_t i) {
            return FromColorRef(static_cast<uint32_t>(u16(i)) | (static_cast<uint32_t>(u16(i + 1)) << 16));
        };
        const auto points = [&](size_t first, size_t count) {
            std::vector<Point> pts;
            if ((first + 2 * count) * 2 > n) return pts;
            for (size_t i = 0; i < count; ++i)
                pts.push_back(m.Map(s16(first + 2 * i), s16(first + 2 * i + 1)));
            return pts;
        };
        switch (rec.function) {
        case 0x020B: state.winOrgY = s16(0); state.winOrgX = s16(1); break;
        case 0x020C: state.winExtY = s16(0); state.winExtX = s16(1); break;
        case 0x0106: state.winding = u16(0) == 2; break;
        case 0x001E:
            if (saved.size() < kMaxSavedStates) saved.push_back(state);
            break;
        case 0x0127: {
            const int16_t which = s16(0);
            const size_t drop = which < 0 ? static_cast<size_t>(-which) : 1;
            if (drop <= saved.size()) {
                state = saved[saved.size() - drop];
                saved.resize(saved.size() - drop);
            }
            break;
        }
        case 0x02FA: { // CreatePenIndirect: style, width (x, y), colour
            Object o;
            o.kind = Object::PenObject;
            o.pen.visible = (u16(0) & 0x0F) != 5;
            o.pen.width = s16(1);
            o.pen.colour = colour(3);
            addObject(o);
            break;
        }
        case 0x02FC: { // CreateBrushIndirect: style, colour, hatch
            Object o;
            o.kind = Object::BrushObject;
            o.brush.visible = u16(0) != 1;
            o.brush.colour = colour(1);
            addObject(o);
            break;
        }
        case 0x02FB: { // CreateFontIndirect
            Object o;
            o.kind = metafile::ReadWmfFont(p, n, o.font) ? Object::FontObject : Object::Other;
            addObject(o);
            break;
        }
        case 0x00F7: case 0x01F9: case 0x0142: case 0x06FF: {
            Object o;
            o.kind = Object::Other;
            addObject(o);
            break;
        }
        case 0x012D: { // SelectObject
            const size_t i = u16(0);
            if (i >= objects.size()) break;
            if (objects[i].kind == Object::PenObject) state.pen = objects[i].pen;
            else if (objects[i].kind == Object::BrushObject) state.brush = objects[i].brush;
            else if (objects[i].kind == Object::FontObject) state.font = objects[i].font;
            break;
        }
        case 0x01F0: { // DeleteObject
            const size_t i = u16(0);
            if (i < objects.size()) objects[i] = Object{};
            break;
        }
        case 0x0214: state.position = Point{static_cast<double>(s16(1)), static_cast<double>(s16(0))}; break;
        case 0x0213: { // LineTo (y, x)
            const Point to{static_cast<double>(s16(1)), static_cast<double>(s16(0))};
            if (state.pen.visible)
                canvas.StrokePolyline({m.Map(state.position.x, state.position.y), m.Map(to.x, to.y)}, false,
                                      state.pen.colour, m.PenWidth(state.pen.width));
            state.position = to;
            break;
        }
        case 0x0325: case 0x0324: { // Polyline, Polygon
            const std::vector<Point> pts = points(1, u16(0));
            if (!pts.empty()) Shape(canvas, m, {pts}, rec.function == 0x0324);
            break;
        }
        case 0x0538: { // PolyPolygon: count, point counts, points
            const size_t polys = u16(0);
            std::vector<std::vector<Point>> rings;
            size_t at = 1 + polys;
            for (size_t i = 0; i < polys && (1 + i) * 2 < n; ++i) {
                std::vector<Point> pts = points(at, u16(1 + i));
                at += 2 * static_cast<size_t>(u16(1 + i));
                if (pts.empty()) break;
                rings.push_back(std::move(pts));
            }
            if (!rings.empty()) Shape(canvas, m, rings, true);
            break;
        }
        case 0x041B: case 0x061C: // Rectangle, RoundRect (corners ignored): bottom, right, top, left
            Shape(canvas, m,
                  {RectPoints(m, s16(n >= 12 ? 5 : 3), s16(n >= 12 ? 4 : 2), s16(n >= 12 ? 3 : 1),
                              s16(n >= 12 ? 2 : 0))},
                  true);
            break;
        case 0x0418: { // Ellipse: bottom, right, top, left
            const Point a = m.Map(s16(3), s16(2)), b = m.Map(s16(1), s16(0));
            Shape(canvas, m, {MetafileCanvas::EllipsePoints(a.x, a.y, b.x, b.y)}, true);
            break;
        }
        case 0x041F: { // SetPixel: colour, y, x
            const Point q = m.Map(s16(3), s16(2));
            canvas.FillPolygon({{q, {q.x + 1, q.y}, {q.x + 1, q.y + 1}, {q.x, q.y + 1}}}, colour(0), false);
            break;
        }
        case 0x0F43: case 0x0B41: { // StretchDIB, DIBStretchBlt: destination, then the bitmap
            const bool stretchDib = rec.function == 0x0F43;
            const size_t dest = stretchDib ? 7 : 6; // index of destHeight
            const size_t dibAt = (dest + 4) * 2;
            Image bitmap;
            if (dibAt < n && DecodeDib(p + dibAt, n - dibAt, bitmap)) {
                const Point a = m.Map(s16(dest + 3), s16(dest + 2));
                const Point b = m.Map(s16(dest + 3) + s16(dest + 1), s16(dest + 2) + s16(dest));
                canvas.DrawImage(bitmap, a.x, a.y, b.x - a.x, b.y - a.y);
            }
            break;
        }
        case 0x0209: state.textColour = colour(0); break;   // SetTextColor
        case 0x0201: state.backColour = colour(0); break;   // SetBkColor
        case 0x0102: state.opaqueBack = u16(0) == 2; break; // SetBkMode
        case 0x012E: state.textAlign = u16(0); break;       // SetTextAlign
        case 0x0521: case 0x0A32: { // TextOut, ExtTextOut
            metafile::TextRecord text;
            const bool ok = rec.function == 0x0521 ? metafile::ReadWmfTextOut(p, n, text)
                                                   : metafile::ReadWmfExtTextOut(p, n, text);
            if (ok) PlayText(canvas, *this, m, text, renderer.get());
            break;
        }
        default: // clipping, palettes and the rest draw nothing here
            break;
        }
    }
    return true;
}

bool ImageWMF::PlayEmf(const std::vector<uint8_t>& data) {
    const uint8_t* d = data.data();
    const uint32_t headerSize = bytes::Le32(d + 4);
    if (headerSize < 88 || headerSize > data.size()) return Fail("corrupted WMF");
    const auto s32 = [](const uint8_t* p) { return static_cast<int32_t>(bytes::Le32(p)); };
    // Bounds in reference-device pixels, frame in 0.01 mm, reference device size in pixels and mm.
    const double boundsL = s32(d + 8), boundsT = s32(d + 12), boundsR = s32(d + 16), boundsB = s32(d + 20);
    const double frameL = s32(d + 24), frameT = s32(d + 28), frameR = s32(d + 32), frameB = s32(d + 36);
    const double devPxX = s32(d + 72), devPxY = s32(d + 76), devMmX = s32(d + 80), devMmY = s32(d + 84);
    const bool frameOk =
        frameR > frameL && frameB > frameT && devPxX > 0 && devPxY > 0 && devMmX > 0 && devMmY > 0;

    // The frame (or, without one, the bounds) in device pixels is what the picture shows.
    double fl = boundsL, ft = boundsT, fr = boundsR + 1, fb = boundsB + 1;
    double width = fr - fl, height = fb - ft;
    if (frameOk) {
        const double pxPerHmmX = devPxX / (devMmX * 100), pxPerHmmY = devPxY / (devMmY * 100);
        fl = frameL * pxPerHmmX;
        ft = frameT * pxPerHmmY;
        fr = frameR * pxPerHmmX;
        fb = frameB * pxPerHmmY;
        width = (frameR - frameL) * kScreenDpi / 2540.0;
        height = (frameB - frameT) * kScreenDpi / 2540.0;
    }
    if (!(width >= 1 && height >= 1 && fr > fl && fb > ft)) return Fail("empty WMF");
    bool sizeOnly = false;
    if (!CreateCanvas(width, height, sizeOnly)) return false;
    if (sizeOnly) return true;
    const uint32_t w = GetWidth(), h = GetHeight();

    State state;
    std::vector<State> saved;
    Mapper m{&state, w / (fr - fl), h / (fb - ft), -fl * w / (fr - fl), -ft * h / (fb - ft)};
    MetafileCanvas canvas(*this);
    const std::shared_ptr<MetafileTextRenderer> renderer = MetafileTextRenderer::Installed();
    std::map<uint32_t, Object> objects;
    // Between BeginPath and EndPath shapes become figures of the path instead of being drawn.
    struct Path {
        bool active = false, newFigure = true;
        std::vector<std::vector<Point>> figures;
        std::vector<bool> closed;
        void Start(Point p) {
            figures.push_back({p});
            closed.push_back(false);
            newFigure = false;
        }
    } path;
    const auto draw = [&](const std::vector<std::vector<Point>>& rings, bool closed) {
        if (!path.active) {
            Shape(canvas, m, rings, closed);
            return;
        }
        for (const auto& ring : rings) {
            path.figures.push_back(ring);
            path.closed.push_back(closed);
        }
        path.newFigure = true;
    };
    // Lines from the current position through `pts` (device points); `last` is the new position.
    const auto lineTo = [&](const std::vector<Point>& pts, Point last) {
        const Point from = m.Map(state.position.x, state.position.y);
        if (path.active) {
            if (path.newFigure || path.figures.empty()) path.Start(from);
            path.figures.back().insert(path.figures.back().end(), pts.begin(), pts.end());
        } else if (state.pen.visible) {
            std::vector<Point> line = {from};
            line.insert(line.end(), pts.begin(), pts.end());
            canvas.StrokePolyline(line, false, state.pen.colour, m.PenWidth(state.pen.width));
        }
        state.position = last;
    };
    const auto stock = [&](uint32_t index) {
        const uint32_t i = index & 0x7FFFFFFF;
        if (i <= 5) {
            const uint8_t level[] = {255, 192, 128, 64, 0, 0};
            state.brush.colour = RGBQUAD{level[i], level[i], level[i], 0};
            state.brush.visible = i != 5;
        } else if (i <= 8) {
            state.pen.colour = i == 6 ? RGBQUAD{255, 255, 255, 0} : RGBQUAD{};
            state.pen.width = 0;
            state.pen.visible = i != 8;
        } else if (i >= 10 && i <= 17 && i != 15) { // the stock fonts: the default face and size
            state.font = MetafileFont{};
        }
    };

    size_t pos = headerSize;
    for (size_t recordNumber = 0; pos + 8 <= data.size() && canvas.HasBudget(); ++recordNumber) {
        if (info.escape && (recordNumber & 255) == 0) return Fail("Cancelled");
        const uint32_t type = bytes::Le32(d + pos), size = bytes::Le32(d + pos + 4);
        if (size < 8 || size % 4 || size > data.size() - pos) return Fail("corrupted WMF");
        const uint8_t* p = d + pos + 8;
        const size_t n = size - 8;
        pos += size;
        const auto i32 = [&](size_t i) { return 4 * i + 4 <= n ? s32(p + 4 * i) : 0; };
        const auto u32 = [&](size_t i) { return static_cast<uint32_t>(i32(i)); };
        // Points after a 16-byte bounds rectangle and a count; 16-bit or 32-bit pairs.
        const auto points = [&](size_t byteAt, size_t count, bool small) {
            std::vector<Point> pts;
            const size_t each = small ? 4 : 8;
            if (byteAt > n || count > (n - byteAt) / each) return pts;
            for (size_t i = 0; i < count; ++i) {
                const uint8_t* q = p + byteAt + i * each;
                const double x = small ? static_cast<int16_t>(bytes::Le16(q)) : s32(q);
                const double y = small ? static_cast<int16_t>(bytes::Le16(q + 2)) : s32(q + 4);
                pts.push_back(Point{x, y});
            }
            return pts;
        };
        const auto mapAll = [&](std::vector<Point> pts) {
            for (Point& q : pts) q = m.Map(q.x, q.y);
            return pts;
        };
        switch (type) {
        case 14: return true; // EOF
        case 9: state.winExtX = i32(0); state.winExtY = i32(1); break;
        case 10: state.winOrgX = i32(0); state.winOrgY = i32(1); break;
        case 11: state.vpExtX = i32(0); state.vpExtY = i32(1); break;
        case 12: state.vpOrgX = i32(0); state.vpOrgY = i32(1); break;
        case 17: state.mapMode = i32(0); break;
        case 19: state.winding = i32(0) == 2; break;
        case 33:
            if (saved.size() < kMaxSavedStates) saved.push_back(state);
            break;
        case 34: {
            const int32_t which = i32(0);
            const size_t drop = which < 0 ? static_cast<size_t>(-static_cast<int64_t>(which)) : 1;
            if (drop <= saved.size()) {
                state = saved[saved.size() - drop];
                saved.resize(saved.size() - drop);
            }
            break;
        }
        case 38: case 95: { // CreatePen, ExtCreatePen
            Object o;
            o.kind = Object::PenObject;
            const size_t at = type == 38 ? 1 : 5; // style, width, (width y / brush style), colour
            o.pen.visible = (u32(at) & 0x0F) != 5;
            o.pen.width = i32(at + 1);
            o.pen.colour = FromColorRef(u32(at + 3));
            objects[u32(0)] = o;
            break;
        }
        case 39: { // CreateBrushIndirect
            Object o;
            o.kind = Object::BrushObject;
            o.brush.visible = u32(1) != 1;
            o.brush.colour = FromColorRef(u32(2));
            objects[u32(0)] = o;
            break;
        }
        case 82: { // ExtCreateFontIndirectW
            Object o;
            o.kind = metafile::ReadEmfFont(p, n, o.font) ? Object::FontObject : Object::Other;
            objects[u32(0)] = o;
            break;
        }
        case 93: case 94: case 49: { // pattern brushes, palettes: slots only
            Object o;
            o.kind = Object::Other;
            objects[u32(0)] = o;
            break;
        }
        case 37: { // SelectObject
            const uint32_t index = u32(0);
            if (index & 0x80000000u) {
                stock(index);
                break;
            }
            auto it = objects.find(index);
            if (it == objects.end()) break;
            if (it->second.kind == Object::PenObject) state.pen = it->second.pen;
            else if (it->second.kind == Object::BrushObject) state.brush = it->second.brush;
            else if (it->second.kind == Object::FontObject) state.font = it->second.font;
            break;
        }
        case 40: objects.erase(u32(0)); break;
        case 27: // MoveToEx
            state.position = Point{static_cast<double>(i32(0)), static_cast<double>(i32(1))};
            if (path.active) path.Start(m.Map(state.position.x, state.position.y));
            break;
        case 54: // LineTo
            lineTo({m.Map(i32(0), i32(1))}, Point{static_cast<double>(i32(0)), static_cast<double>(i32(1))});
            break;
        case 6: case 89: case 5: case 88: { // PolylineTo, PolyBezierTo, 32- and 16-bit points
            const std::vector<Point> raw = points(20, u32(4), type >= 86);
            if (raw.empty()) break;
            std::vector<Point> pts = mapAll(raw);
            if (type == 5 || type == 88) {
                pts.insert(pts.begin(), m.Map(state.position.x, state.position.y));
                pts = FlattenBeziers(pts);
                pts.erase(pts.begin());
            }
            lineTo(pts, raw.back());
            break;
        }
        case 2: case 85: { // PolyBezier
            const std::vector<Point> pts = FlattenBeziers(mapAll(points(20, u32(4), type == 85)));
            if (!pts.empty()) draw({pts}, false);
            break;
        }
        case 59: path = Path{}; path.active = true; break;      // BeginPath
        case 60: path.active = false; break;                    // EndPath
        case 61: // CloseFigure
            if (!path.closed.empty()) path.closed.back() = true;
            path.newFigure = true;
            break;
        case 68: path = Path{}; break;                          // AbortPath
        case 62: case 63: case 64: { // FillPath, StrokeAndFillPath, StrokePath
            if (type != 64 && state.brush.visible)
                canvas.FillPolygon(path.figures, state.brush.colour, state.winding);
            if (type != 62 && state.pen.visible)
                for (size_t i = 0; i < path.figures.size(); ++i)
                    canvas.StrokePolyline(path.figures[i], path.closed[i], state.pen.colour,
                                          m.PenWidth(state.pen.width));
            path = Path{};
            break;
        }
        case 3: case 4: case 86: case 87: { // Polygon, Polyline, 32- and 16-bit points
            const std::vector<Point> pts = mapAll(points(20, u32(4), type >= 86));
            if (!pts.empty()) draw({pts}, type == 3 || type == 86);
            break;
        }
        case 8: case 91: { // PolyPolygon, 32- and 16-bit points
            const size_t polys = u32(4);
            if (polys > n / 4) break;
            std::vector<std::vector<Point>> rings;
            size_t at = 24 + 4 * polys;
            for (size_t i = 0; i < polys; ++i) {
                const size_t count = u32(6 + i);
                std::vector<Point> pts = points(at, count, type == 91);
                if (pts.empty()) break;
                at += count * (type == 91 ? 4 : 8);
                rings.push_back(mapAll(std::move(pts)));
            }
            if (!rings.empty()) draw(rings, true);
            break;
        }
        case 43: case 44: // Rectangle, RoundRect (corners ignored)
            draw({RectPoints(m, i32(0), i32(1), i32(2), i32(3))}, true);
            break;
        case 42: { // Ellipse
            const Point a = m.Map(i32(0), i32(1)), b = m.Map(i32(2), i32(3));
            draw({MetafileCanvas::EllipsePoints(a.x, a.y, b.x, b.y)}, true);
            break;
        }
        case 81: case 76: case 77: { // StretchDIBits, BitBlt, StretchBlt
            // Where the bitmap parts are and where the picture goes, by record layout.
            const bool dibits = type == 81;
            const size_t at = dibits ? 10 : 19;
            const uint32_t offBmi = u32(at), cbBmi = u32(at + 1), offBits = u32(at + 2), cbBits = u32(at + 3);
            const double x = i32(4), y = i32(5);
            const double cx = dibits ? i32(16) : i32(6), cy = dibits ? i32(17) : i32(7);
            const Point a = m.Map(x, y), b = m.Map(x + cx, y + cy);
            if (!dibits && cbBmi == 0) {
                // No source bitmap: the rectangle is painted with the brush.
                if (state.brush.visible)
                    canvas.FillPolygon({RectPoints(m, x, y, x + cx, y + cy)}, state.brush.colour, false);
                break;
            }
            // Offsets count from the record start, 8 bytes before `p`.
            if (offBmi < 8 || offBits < 8 || cbBmi < 40 || offBmi - 8 > n || cbBmi > n - (offBmi - 8) ||
                offBits - 8 > n || cbBits > n - (offBits - 8))
                break;
            std::vector<uint8_t> dib(p + offBmi - 8, p + offBmi - 8 + cbBmi);
            dib.insert(dib.end(), p + offBits - 8, p + offBits - 8 + cbBits);
            Image bitmap;
            if (DecodeDib(dib.data(), dib.size(), bitmap))
                canvas.DrawImage(bitmap, a.x, a.y, b.x - a.x, b.y - a.y);
            break;
        }
        case 24: state.textColour = FromColorRef(u32(0)); break; // SetTextColor
        case 25: state.backColour = FromColorRef(u32(0)); break; // SetBkColor
        case 18: state.opaqueBack = u32(0) == 2; break;          // SetBkMode
        case 22: state.textAlign = u32(0); break;                // SetTextAlign
        case 83: case 84: { // ExtTextOutA, ExtTextOutW; inside a path the text is not drawn
            metafile::TextRecord text;
            if (!path.active && metafile::ReadEmfExtTextOut(p, n, type == 84, text))
                PlayText(canvas, *this, m, text, renderer.get());
            break;
        }
        default: // clipping and the rest draw nothing here
            break;
        }
    }
    return true;
}

} // namespace vimg
