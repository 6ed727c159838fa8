#include "MeasureManager.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include "CalibrationStore.h"
#include "GreyStatistics.h"
#include "MeasureCursors.h"
#include "MeasureFile.h"
#include "MeasurePrompts.h"
#include "ProfilePlot.h"
#include "Resource.h"
#include "ResultsTable.h"
#include "WinApp.h"

namespace kxvm {

namespace {

constexpr size_t kUndoSteps = 100;
constexpr double kHitPixels = 5.0;    // screen pixels around a line that still hit it
constexpr double kHandlePixels = 4.0; // half the size of a handle square
constexpr double kDragPixels = 3.0;   // a press and release closer than this is a click

struct ShapeItem {
    int id;
    ShapeKind shape;
};
constexpr ShapeItem kShapeItems[] = {
    {ID_MEASURE_SELECT, ShapeKind::Select},       {ID_MEASURE_LINE, ShapeKind::Line},
    {ID_MEASURE_RECTANGLE, ShapeKind::Rectangle}, {ID_MEASURE_ELLIPSE, ShapeKind::Ellipse},
    {ID_MEASURE_POLYGON, ShapeKind::Polygon},     {ID_MEASURE_ANGLE, ShapeKind::Angle},
    {ID_MEASURE_POINT, ShapeKind::Point},         {ID_MEASURE_TEXT, ShapeKind::Text}};
constexpr int kWidths[] = {1, 2, 3, 5};
constexpr double kLabelZooms[] = {0.5, 0.75, 1.0, 1.5, 2.0};

CProfile* Profile() {
    CWinApp* app = AfxGetApp();
    return app ? &app->Profile() : nullptr;
}

} // namespace

MeasureManager::MeasureManager(QWidget* view) : m_view(view) {
    m_font.setFamily(QStringLiteral("Sans Serif"));
    m_font.setPixelSize(13);
}

MeasureManager::~MeasureManager() {
    if (m_table) m_table->deleteLater();
    if (m_profile) m_profile->deleteLater();
}

void MeasureManager::SetScale(float zoom) {
    if (zoom > 0 && std::isfinite(zoom)) m_scale = zoom;
}

void MeasureManager::SetImage(QSize size, double micronsPerPixel, const QString& camera,
                              const QString& path) {
    const bool same = size == m_imageSize && micronsPerPixel == m_imageMicronsPerPixel && camera == m_camera;
    m_imagePath = path;
    if (same && !m_followStored) return;
    m_imageSize = size;
    m_imageMicronsPerPixel = micronsPerPixel;
    m_camera = camera;
    if (m_userCalibration && !m_followStored) return;
    std::optional<Calibration> found =
        Calibration::FromMicronsPerPixel(QStringLiteral("Bild"), micronsPerPixel);
    // A stored calibration belongs to a camera at a resolution: a picture that
    // names no camera may come from anywhere and stays in pixels until the
    // user picks one.
    if (!found && Profile() && size.isValid() && !camera.isEmpty())
        found = CalibrationStore(*Profile()).Active(camera, size.width(), size.height());
    const Calibration next = found.value_or(Calibration{});
    if (same && next == m_calibration) return;
    m_calibration = next;
    Changed();
}

void MeasureManager::ChooseCalibration(const std::optional<Calibration>& calibration) {
    m_userCalibration = true;
    m_calibration = calibration.value_or(Calibration{});
    Changed();
    Repaint();
}

QPointF MeasureManager::ToImage(QPointF logical) const {
    QPointF p = logical / m_scale;
    if (m_imageSize.isValid())
        p = QPointF(std::clamp(p.x(), 0.0, static_cast<double>(m_imageSize.width())),
                    std::clamp(p.y(), 0.0, static_cast<double>(m_imageSize.height())));
    return p;
}

double MeasureManager::Tolerance() const {
    return kHitPixels / m_scale;
}

void MeasureManager::Remember() {
    m_undo.push_back(m_objects);
    if (m_undo.size() > kUndoSteps) m_undo.erase(m_undo.begin());
    m_redo.clear();
}

void MeasureManager::Changed() {
    if (m_selected >= static_cast<int>(m_objects.size())) m_selected = -1;
    RefreshTable();
    if (m_changed) m_changed();
}

void MeasureManager::Repaint() const {
    if (m_view) m_view->update();
}

void MeasureManager::SetShape(ShapeKind shape) {
    m_shape = shape;
    m_pending.reset();
    m_drag = Drag::None;
    m_pressed = false;
    Repaint();
}

void MeasureManager::Add(const MeasureObject& object) {
    Remember();
    m_objects.push_back(object);
    Changed();
    Repaint();
}

void MeasureManager::DeleteSelected() {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_objects.size())) return;
    Remember();
    m_objects.erase(m_objects.begin() + m_selected);
    m_selected = -1;
    Changed();
    Repaint();
}

void MeasureManager::DeleteAll() {
    if (m_objects.empty()) return;
    Remember();
    m_objects.clear();
    m_selected = -1;
    Changed();
    Repaint();
}

bool MeasureManager::Undo() {
    m_pending.reset();
    if (m_undo.empty()) return false;
    m_redo.push_back(std::move(m_objects));
    m_objects = std::move(m_undo.back());
    m_undo.pop_back();
    Changed();
    Repaint();
    return true;
}

bool MeasureManager::Redo() {
    m_pending.reset();
    if (m_redo.empty()) return false;
    m_undo.push_back(std::move(m_objects));
    m_objects = std::move(m_redo.back());
    m_redo.pop_back();
    Changed();
    Repaint();
    return true;
}

// ---- mouse ----

int MeasureManager::HitObject(QPointF image) const {
    for (int i = static_cast<int>(m_objects.size()) - 1; i >= 0; --i)
        if (HitsObject(m_objects[static_cast<size_t>(i)], image, Tolerance())) return i;
    return -1;
}

int MeasureManager::HitHandle(QPointF image) const {
    if (m_selected < 0) return -1;
    const std::vector<QPointF> handles = Handles(m_objects[static_cast<size_t>(m_selected)]);
    const double reach = (kHandlePixels + 2) / m_scale;
    for (int i = static_cast<int>(handles.size()) - 1; i >= 0; --i) {
        const QPointF d = handles[static_cast<size_t>(i)] - image;
        if (std::fabs(d.x()) <= reach && std::fabs(d.y()) <= reach) return i;
    }
    return -1;
}

void MeasureManager::Commit() {
    if (!m_pending) return;
    MeasureObject object = std::move(*m_pending);
    m_pending.reset();
    if (object.kind == ShapeKind::Text) {
        const std::optional<QString> text = MeasurePrompts::Current().AskText(m_view, QString());
        if (!text || text->trimmed().isEmpty()) {
            Repaint();
            return;
        }
        object.text = *text;
    }
    Add(object);
}

void MeasureManager::MouseDown(QPointF logical) {
    const QPointF p = ToImage(logical);
    if (m_pressed) MouseUp(ToLogical(m_pressImage)); // the release went astray outside the picture
    m_pressed = true;
    m_pressImage = p;
    switch (m_shape) {
    case ShapeKind::Select: {
        m_beforeDrag = m_objects;
        if (const int handle = HitHandle(p); handle >= 0) {
            m_drag = Drag::Handle;
            m_dragHandle = handle;
        } else if (const int hit = HitObject(p); hit >= 0) {
            m_selected = hit;
            m_drag = Drag::Object;
        } else {
            m_selected = -1;
            m_drag = Drag::None;
        }
        break;
    }
    case ShapeKind::Point: {
        MeasureObject o = m_style;
        o.kind = ShapeKind::Point;
        o.points = {p};
        Add(o);
        break;
    }
    case ShapeKind::Polygon:
    case ShapeKind::Angle:
        if (!m_pending) {
            MeasureObject o = m_style;
            o.kind = m_shape;
            o.points = {p, p};
            m_pending = o;
        } else {
            // The rubber point becomes a corner; a new one follows the mouse.
            m_pending->points.back() = p;
            m_pending->points.push_back(p);
            if (m_shape == ShapeKind::Angle && m_pending->points.size() > 3) {
                m_pending->points.pop_back();
                Commit();
            }
        }
        break;
    default: {
        MeasureObject o = m_style;
        o.kind = m_shape;
        o.points = {p, p};
        m_pending = o;
        break;
    }
    }
    Repaint();
}

void MeasureManager::MouseMove(QPointF logical) {
    const QPointF p = ToImage(logical);
    UpdateCursor(p);
    if (m_pending && (m_pressed || m_shape == ShapeKind::Polygon || m_shape == ShapeKind::Angle)) {
        m_pending->points.back() = p;
        Repaint();
        return;
    }
    if (!m_pressed || m_shape != ShapeKind::Select || m_selected < 0) return;
    MeasureObject& o = m_objects[static_cast<size_t>(m_selected)];
    const MeasureObject& before = m_beforeDrag[static_cast<size_t>(m_selected)];
    if (m_drag == Drag::Object) {
        o = before;
        QPointF delta = p - m_pressImage;
        // The whole object stays on the picture.
        if (m_imageSize.isValid()) {
            double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
            for (const QPointF& q : before.points) {
                x0 = std::min(x0, q.x());
                y0 = std::min(y0, q.y());
                x1 = std::max(x1, q.x());
                y1 = std::max(y1, q.y());
            }
            delta.setX(std::clamp(delta.x(), -x0, m_imageSize.width() - x1));
            delta.setY(std::clamp(delta.y(), -y0, m_imageSize.height() - y1));
        }
        Translate(o, delta);
    } else if (m_drag == Drag::Handle) {
        MoveHandle(o, m_dragHandle, p);
    }
    Changed();
    Repaint();
}

void MeasureManager::MouseUp(QPointF logical) {
    if (!m_pressed) return;
    m_pressed = false;
    const QPointF p = ToImage(logical);
    const bool dragged = (p - m_pressImage).manhattanLength() * m_scale >= kDragPixels;
    switch (m_shape) {
    case ShapeKind::Select:
        if (m_drag != Drag::None && m_objects != m_beforeDrag) {
            // One undo step for the whole drag.
            std::vector<MeasureObject> after = std::move(m_objects);
            m_objects = std::move(m_beforeDrag);
            Remember();
            m_objects = std::move(after);
            Changed();
        }
        m_beforeDrag.clear();
        m_drag = Drag::None;
        break;
    case ShapeKind::Point:
        break;
    case ShapeKind::Polygon:
        break;
    case ShapeKind::Angle:
        // The first arm may be dragged: the release fixes the vertex.
        if (m_pending && dragged && m_pending->points.size() == 2) {
            m_pending->points.back() = p;
            m_pending->points.push_back(p);
        }
        break;
    case ShapeKind::Text:
        if (m_pending) {
            // A plain click puts the text a little up and right of the point.
            m_pending->points.back() = dragged ? p : m_pending->points.front() + QPointF(12, -12) / m_scale;
            Commit();
        }
        break;
    default:
        if (m_pending) {
            m_pending->points.back() = p;
            if (dragged)
                Commit();
            else
                m_pending.reset();
        }
        break;
    }
    Repaint();
}

void MeasureManager::DoubleClick(QPointF logical) {
    if (m_shape == ShapeKind::Select) {
        // A double click on an annotation edits its text.
        const int hit = HitObject(ToImage(logical));
        if (hit < 0 || m_objects[static_cast<size_t>(hit)].kind != ShapeKind::Text) return;
        m_pressed = false;
        m_drag = Drag::None;
        const std::optional<QString> text =
            MeasurePrompts::Current().AskText(m_view, m_objects[static_cast<size_t>(hit)].text);
        if (!text || text->trimmed().isEmpty() || *text == m_objects[static_cast<size_t>(hit)].text) return;
        Remember();
        m_objects[static_cast<size_t>(hit)].text = *text;
        Changed();
        Repaint();
        return;
    }
    if (!m_pending || m_shape != ShapeKind::Polygon) return;
    // The first press of the double click made a corner; drop the rubber point.
    m_pending->points.pop_back();
    auto& pts = m_pending->points;
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    m_pressed = false;
    if (pts.size() >= 3)
        Commit();
    else
        m_pending.reset();
    Repaint();
}

void MeasureManager::UpdateCursor(QPointF image) {
    if (!m_view) return;
    if (m_shape != ShapeKind::Select) {
        m_view->setCursor(MeasureCursors::Draw());
        return;
    }
    if (m_drag != Drag::None) return;
    if (HitHandle(image) >= 0)
        m_view->setCursor(MeasureCursors::Handle());
    else if (HitObject(image) >= 0)
        m_view->setCursor(MeasureCursors::Move());
    else
        m_view->unsetCursor();
}

// ---- menu ----

bool MeasureManager::MenuItemEnabled(int id) const {
    for (const ShapeItem& item : kShapeItems)
        if (item.id == id)
            return m_allowed.empty() || item.shape == ShapeKind::Select ||
                   std::find(m_allowed.begin(), m_allowed.end(), item.shape) != m_allowed.end();
    switch (id) {
    case ID_MEASURE_DELETE:
        return m_selected >= 0;
    case ID_MEASURE_DELETE_ALL:
    case ID_MEASURE_TABLE:
    case ID_MEASURE_SAVE_DATA:
        return !m_objects.empty() || id == ID_MEASURE_TABLE;
    default:
        return id >= ID_MEASURE_FIRST && id <= ID_MEASURE_LAST;
    }
}

bool MeasureManager::IsToggle(int id) {
    return std::any_of(std::begin(kShapeItems), std::end(kShapeItems), [id](const ShapeItem& s) { return s.id == id; }) ||
           id == ID_MEASURE_SCALE_BAR || id == ID_MEASURE_TABLE ||
           (id >= ID_MEASURE_ZOOM_50 && id <= ID_MEASURE_ZOOM_200) ||
           (id >= ID_MEASURE_WIDTH_1 && id <= ID_MEASURE_WIDTH_5);
}

bool MeasureManager::MenuItemChecked(int id) const {
    if (id == ID_MEASURE_SCALE_BAR) return m_scaleLine;
    if (id >= ID_MEASURE_ZOOM_50 && id <= ID_MEASURE_ZOOM_200)
        return m_labelZoom == kLabelZooms[id - ID_MEASURE_ZOOM_50];
    if (id >= ID_MEASURE_WIDTH_1 && id <= ID_MEASURE_WIDTH_5)
        return m_style.lineWidth == kWidths[id - ID_MEASURE_WIDTH_1];
    if (id == ID_MEASURE_TABLE) return m_table && m_table->isVisible();
    return false;
}

bool MeasureManager::MenuItem(int id) {
    if (!MenuItemEnabled(id)) return false;
    for (const ShapeItem& item : kShapeItems)
        if (item.id == id) {
            SetShape(item.shape);
            return true;
        }
    if (id >= ID_MEASURE_ZOOM_50 && id <= ID_MEASURE_ZOOM_200) {
        m_labelZoom = kLabelZooms[id - ID_MEASURE_ZOOM_50];
        Repaint();
        return true;
    }
    if (id >= ID_MEASURE_WIDTH_1 && id <= ID_MEASURE_WIDTH_5) {
        m_style.lineWidth = kWidths[id - ID_MEASURE_WIDTH_1];
        if (m_selected >= 0 && m_objects[static_cast<size_t>(m_selected)].lineWidth != m_style.lineWidth) {
            Remember();
            m_objects[static_cast<size_t>(m_selected)].lineWidth = m_style.lineWidth;
            Changed();
        }
        Repaint();
        return true;
    }
    switch (id) {
    case ID_MEASURE_CALIBRATE:
        Calibrate();
        return true;
    case ID_MEASURE_TABLE:
        ShowTable();
        return true;
    case ID_MEASURE_SCALE_BAR:
        m_scaleLine = !m_scaleLine;
        Repaint();
        return true;
    case ID_MEASURE_LINE_COLOUR:
    case ID_MEASURE_TEXT_COLOUR:
    case ID_MEASURE_FILL_COLOUR: {
        QColor MeasureObject::*member = id == ID_MEASURE_LINE_COLOUR   ? &MeasureObject::lineColour
                                        : id == ID_MEASURE_TEXT_COLOUR ? &MeasureObject::textColour
                                                                       : &MeasureObject::fillColour;
        const QString title =
            id == ID_MEASURE_LINE_COLOUR   ? QCoreApplication::translate("MeasureManager", "Linienfarbe")
            : id == ID_MEASURE_TEXT_COLOUR ? QCoreApplication::translate("MeasureManager", "Textfarbe")
                                           : QCoreApplication::translate("MeasureManager", "Füllfarbe");
        const std::optional<QColor> colour =
            MeasurePrompts::Current().AskColour(m_view, m_style.*member, title);
        if (!colour) return false;
        m_style.*member = *colour;
        // A selected object takes the colour too.
        if (m_selected >= 0) {
            Remember();
            m_objects[static_cast<size_t>(m_selected)].*member = *colour;
            Changed();
        }
        Repaint();
        return true;
    }
    case ID_MEASURE_FONT: {
        const std::optional<QFont> font = MeasurePrompts::Current().AskFont(m_view, m_font);
        if (!font) return false;
        m_font = *font;
        Repaint();
        return true;
    }
    case ID_MEASURE_DELETE:
        DeleteSelected();
        return true;
    case ID_MEASURE_DELETE_ALL:
        DeleteAll();
        return true;
    case ID_MEASURE_SAVE_DATA:
        SaveDataAsked();
        return true;
    case ID_MEASURE_OPEN_DATA:
        OpenDataAsked();
        return true;
    default:
        return false;
    }
}

void MeasureManager::Calibrate() {
    CalibrationRequest request;
    request.camera = m_camera;
    request.resolution = m_imageSize;
    // The selected line, else the last one drawn, gives the known distance.
    const MeasureObject* line = nullptr;
    if (m_selected >= 0 && m_objects[static_cast<size_t>(m_selected)].kind == ShapeKind::Line)
        line = &m_objects[static_cast<size_t>(m_selected)];
    for (auto it = m_objects.rbegin(); !line && it != m_objects.rend(); ++it)
        if (it->kind == ShapeKind::Line) line = &*it;
    if (line) request.linePixels = Distance(line->points[0], line->points[1]);
    CProfile* profile = Profile();
    if (profile)
        request.stored = CalibrationStore(*profile).List(m_camera, m_imageSize.width(), m_imageSize.height());
    if (m_calibration.IsCalibrated()) request.active = m_calibration;
    const std::optional<CalibrationAnswer> answer = MeasurePrompts::Current().AskCalibration(m_view, request);
    if (!answer) return;
    if (profile) {
        CalibrationStore store(*profile);
        const int w = m_imageSize.width(), h = m_imageSize.height();
        for (const QString& name : answer->removed)
            store.Remove(m_camera, w, h, name);
        if (answer->store) {
            if (answer->chosen && !answer->chosen->name.isEmpty())
                store.Put(m_camera, w, h, *answer->chosen, true);
            else if (!answer->chosen)
                store.SetActive(m_camera, w, h, QString());
        }
    }
    ChooseCalibration(answer->chosen);
}

bool MeasureManager::SaveData(const QString& path, QString* error) const {
    MeasureData data;
    data.imageSize = m_imageSize;
    if (m_calibration.IsCalibrated()) data.calibration = m_calibration;
    data.scaleBar = m_scaleLine;
    data.objects = m_objects;
    return MeasureFile::Save(path, data, error);
}

bool MeasureManager::LoadData(const QString& path, QString* error) {
    std::optional<MeasureData> data = MeasureFile::Load(path, error);
    if (!data) return false;
    Remember();
    m_objects = std::move(data->objects);
    m_selected = -1;
    m_pending.reset();
    m_scaleLine = data->scaleBar;
    if (data->calibration) {
        m_userCalibration = true;
        m_calibration = *data->calibration;
    }
    Changed();
    Repaint();
    return true;
}

void MeasureManager::SaveDataAsked() {
    const QString path =
        MeasurePrompts::Current().AskSavePath(m_view, MeasureFile::PathForImage(m_imagePath));
    if (path.isEmpty()) return;
    QString error;
    if (!SaveData(path, &error))
        MeasurePrompts::Current().ShowError(
            m_view,
            QCoreApplication::translate("MeasureManager", "Messdaten nicht gespeichert:\n%1").arg(error));
}

void MeasureManager::OpenDataAsked() {
    const QString path =
        MeasurePrompts::Current().AskOpenPath(m_view, MeasureFile::PathForImage(m_imagePath));
    if (path.isEmpty()) return;
    QString error;
    // Objects made for a picture of another size would lie elsewhere on this one.
    const std::optional<MeasureData> data = MeasureFile::Load(path, &error);
    if (data && data->imageSize.isValid() && m_imageSize.isValid() && data->imageSize != m_imageSize &&
        !MeasurePrompts::Current().AskProceed(
            m_view, QCoreApplication::translate("kxvm::MeasureManager",
                                                "Die Messdaten wurden für ein Bild von %1 x %2 Pixeln gemacht, "
                                                "dieses Bild hat %3 x %4 Pixel. Die Objekte liegen dann an "
                                                "anderer Stelle.\nTrotzdem laden?")
                        .arg(data->imageSize.width())
                        .arg(data->imageSize.height())
                        .arg(m_imageSize.width())
                        .arg(m_imageSize.height())))
        return;
    if (!LoadData(path, &error))
        MeasurePrompts::Current().ShowError(
            m_view,
            QCoreApplication::translate("MeasureManager", "Messdaten nicht geöffnet:\n%1").arg(error));
}

ResultsTable* MeasureManager::Table() const {
    return m_table;
}

void MeasureManager::ShowTable() {
    if (!m_table) {
        // A docked table belongs to the dock; a free one stays over the view's window.
        m_table = new ResultsTable(!ResultsTable::HasHost() && m_view ? m_view->window() : nullptr);
        m_table->SetSuggestedPath(m_imagePath.isEmpty() ? QString() : m_imagePath + QStringLiteral(".csv"));
        m_table->SetPictureName(m_pictureName);
    }
    RefreshTable();
    m_table->Present();
}

int MeasureManager::ProfileLine() const {
    if (!m_picture || !m_picture()) return -1;
    auto isLine = [this](int i) {
        return i >= 0 && i < static_cast<int>(m_objects.size()) && m_objects[static_cast<size_t>(i)].kind == ShapeKind::Line &&
               m_objects[static_cast<size_t>(i)].points.size() >= 2;
    };
    if (isLine(m_selected)) return m_selected;
    for (int i = static_cast<int>(m_objects.size()) - 1; i >= 0; --i)
        if (isLine(i)) return i;
    return -1;
}

ProfilePlot* MeasureManager::ProfileWindow() const {
    return m_profile;
}

bool MeasureManager::ShowProfile() {
    const int index = ProfileLine();
    if (index < 0) return false;
    const MeasureObject& line = m_objects[static_cast<size_t>(index)];
    if (!m_profile) m_profile = new ProfilePlot(m_view ? m_view->window() : nullptr);
    m_profile->setWindowTitle(QCoreApplication::translate("kxvm::MeasureManager", "Linienprofil - Nr. %1 - %2")
                                  .arg(index + 1)
                                  .arg(m_pictureName));
    const QString unit = UnitName(m_calibration.IsCalibrated() ? m_calibration.unit : LengthUnit::Pixel);
    m_profile->SetProfile(LineProfile(*m_picture(), line.points[0], line.points[1]),
                          m_calibration.Length(Distance(line.points[0], line.points[1])), unit);
    m_profile->show();
    m_profile->raise();
    return true;
}

void MeasureManager::SetPictureName(const QString& name) {
    m_pictureName = name;
    if (m_table) m_table->SetPictureName(name);
}

void MeasureManager::RefreshTable() {
    if (m_table) m_table->Refresh(m_objects, m_calibration, m_picture ? m_picture() : nullptr);
}

// ---- drawing ----

QFont MeasureManager::LabelFont(double factor) const {
    QFont font = m_font;
    const int base =
        m_font.pixelSize() > 0 ? m_font.pixelSize() : static_cast<int>(m_font.pointSizeF() * 4 / 3);
    font.setPixelSize(std::max(4, static_cast<int>(std::lround(base * m_labelZoom * factor))));
    return font;
}

QRectF MeasureManager::PictureArea() const {
    return {0, 0, m_imageSize.width() * static_cast<double>(m_scale), m_imageSize.height() * static_cast<double>(m_scale)};
}

void MeasureManager::DrawLabel(QPainter& p, QPointF at, const QStringList& lines, const MeasureObject& o,
                               QPointF grow) const {
    if (lines.isEmpty()) return;
    p.setFont(LabelFont());
    const QFontMetricsF fm(p.font());
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    const double pad = 3 * m_labelZoom;
    const QSizeF size(width + 2 * pad, fm.height() * lines.size() + 2 * pad);
    // The box grows from `at` to the right or left, down or up.
    QRectF box(QPointF(grow.x() < 0 ? at.x() - size.width() : at.x(),
                       grow.y() < 0 ? at.y() - size.height() : at.y()),
               size);
    // A label that would reach over the picture's edge moves inside it, along
    // each side it fits in; one larger than the picture (a small picture, a
    // small zoom) stays where it is rather than covering what it measures.
    if (const QRectF area = PictureArea(); !area.isEmpty()) {
        if (box.width() <= area.width())
            box.moveLeft(std::max(area.left(), std::min(box.left(), area.right() - box.width())));
        if (box.height() <= area.height())
            box.moveTop(std::max(area.top(), std::min(box.top(), area.bottom() - box.height())));
    }
    p.fillRect(box, o.fillColour);
    p.setPen(o.textColour);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(box.left() + pad, box.top() + pad + fm.ascent() + i * fm.height()), lines[i]);
}

void MeasureManager::DrawObject(QPainter& p, const MeasureObject& o, int number, bool selected) const {
    if (o.points.empty()) return;
    std::vector<QPointF> pts;
    for (const QPointF& q : o.points)
        pts.push_back(ToLogical(q));
    QPen pen(o.lineColour, o.lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QStringList lines;
    for (const MeasureValue& v : Measure(o))
        if (v.Dim() != Dimension::Position)
            lines << v.Label() + QStringLiteral(": ") + v.Text(m_calibration);
    QPointF labelAt = pts.back() + QPointF(6, 6);
    QPointF grow(1, 1);
    switch (o.kind) {
    case ShapeKind::Line:
        p.drawLine(pts[0], pts[1]);
        // Short end marks across the line.
        if (const double len = Distance(pts[0], pts[1]); len > 0) {
            const QPointF n = QPointF(-(pts[1].y() - pts[0].y()), pts[1].x() - pts[0].x()) / len * 5.0;
            p.drawLine(pts[0] - n, pts[0] + n);
            p.drawLine(pts[1] - n, pts[1] + n);
        }
        labelAt = (pts[0] + pts[1]) / 2 + QPointF(6, 4);
        if (lines.size() == 1) lines[0] = Measure(o)[0].Text(m_calibration);
        if (!lines.isEmpty()) lines[0] = QStringLiteral("%1: %2").arg(number).arg(lines[0]);
        break;
    case ShapeKind::Rectangle: {
        const QRectF r = QRectF(pts[0], pts[1]).normalized();
        p.drawRect(r);
        labelAt = r.bottomLeft() + QPointF(0, 4);
        break;
    }
    case ShapeKind::Ellipse: {
        const QRectF r = QRectF(pts[0], pts[1]).normalized();
        p.drawEllipse(r);
        labelAt = r.bottomLeft() + QPointF(0, 4);
        break;
    }
    case ShapeKind::Polygon: {
        QPolygonF poly(QList<QPointF>(pts.begin(), pts.end()));
        p.drawPolygon(poly);
        const QRectF r = poly.boundingRect();
        labelAt = r.bottomLeft() + QPointF(0, 4);
        break;
    }
    case ShapeKind::Angle: {
        p.drawLine(pts[0], pts[1]);
        if (pts.size() > 2) {
            p.drawLine(pts[1], pts[2]);
            // An arc between the arms shows which angle is meant.
            const double r = 18;
            const double a0 = std::atan2(-(pts[0].y() - pts[1].y()), pts[0].x() - pts[1].x()) * 180 / M_PI;
            const double a2 = std::atan2(-(pts[2].y() - pts[1].y()), pts[2].x() - pts[1].x()) * 180 / M_PI;
            double span = a2 - a0;
            while (span > 180)
                span -= 360;
            while (span < -180)
                span += 360;
            p.drawArc(QRectF(pts[1] - QPointF(r, r), QSizeF(2 * r, 2 * r)), static_cast<int>(a0 * 16),
                      static_cast<int>(span * 16));
        }
        // Outside the angle, opposite its bisector, so the arc stays visible.
        if (pts.size() > 2) {
            QPointF u = pts[0] - pts[1], v = pts[2] - pts[1];
            const double lu = std::hypot(u.x(), u.y()), lv = std::hypot(v.x(), v.y());
            QPointF bisector = (lu > 0 ? u / lu : u) + (lv > 0 ? v / lv : v);
            const double lb = std::hypot(bisector.x(), bisector.y());
            bisector = lb > 1e-9 ? bisector / lb : QPointF(0, -1);
            labelAt = pts[1] - bisector * 8;
            grow = QPointF(bisector.x() > 0 ? -1 : 1, bisector.y() > 0 ? -1 : 1);
        } else {
            labelAt = pts[1] + QPointF(8, 6);
        }
        if (lines.size() == 1) lines[0] = Measure(o)[0].Text(m_calibration);
        if (!lines.isEmpty()) lines[0] = QStringLiteral("%1: %2").arg(number).arg(lines[0]);
        break;
    }
    case ShapeKind::Point: {
        const double r = 4 + o.lineWidth;
        p.drawLine(pts[0] - QPointF(r, 0), pts[0] + QPointF(r, 0));
        p.drawLine(pts[0] - QPointF(0, r), pts[0] + QPointF(0, r));
        p.drawEllipse(pts[0], r * 0.6, r * 0.6);
        lines = {QString::number(number)};
        labelAt = pts[0] + QPointF(r, r);
        break;
    }
    case ShapeKind::Text: {
        // Leader from the point to the text, with a dot on the point.
        p.drawLine(pts[0], pts[1]);
        p.setBrush(o.lineColour);
        p.drawEllipse(pts[0], 2.5, 2.5);
        p.setBrush(Qt::NoBrush);
        lines = o.text.split(QLatin1Char('\n'));
        labelAt = pts[1];
        break;
    }
    case ShapeKind::Select:
        break;
    }
    // Area shapes name their number above their values, as the table's "Nr".
    if (o.kind == ShapeKind::Rectangle || o.kind == ShapeKind::Ellipse || o.kind == ShapeKind::Polygon)
        lines.prepend(QCoreApplication::translate("kxvm::MeasureManager", "Nr. %1").arg(number));
    DrawLabel(p, labelAt, lines, o, grow);
    if (selected) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        for (const QPointF& h : Handles(o)) {
            const QPointF c = ToLogical(h);
            p.drawRect(QRectF(c - QPointF(kHandlePixels, kHandlePixels),
                              QSizeF(2 * kHandlePixels, 2 * kHandlePixels)));
        }
        p.setBrush(Qt::NoBrush);
    }
}

double MeasureManager::ScaleBarLength() const {
    if (!m_scaleLine || !m_imageSize.isValid() || m_imageSize.isEmpty()) return 0;
    // At most a fifth of the picture's width.
    return RoundScaleLength(m_calibration.Length(m_imageSize.width() / 5.0));
}

double MeasureManager::ScaleBarLogical() const {
    const double length = ScaleBarLength();
    const double pixels = m_calibration.IsCalibrated() ? length * m_calibration.pixelsPerUnit : length;
    return pixels * m_scale;
}

void MeasureManager::DrawScaleBar(QPainter& p) const {
    const double length = ScaleBarLength();
    const double bar = ScaleBarLogical();
    if (length <= 0 || bar < 1) return;
    const QString unit = UnitName(m_calibration.IsCalibrated() ? m_calibration.unit : LengthUnit::Pixel);
    const QString label = QLocale().toString(length, 'g', 12) + QLatin1Char(' ') + unit;
    // On the screen the corner of what is visible; in renderings the picture's.
    QRectF area = PictureArea();
    if (!m_visible.isEmpty()) area = area.intersected(m_visible);
    if (area.isEmpty()) return;
    // Smaller on very small pictures, so the bar and its text still fit.
    const double fit = std::clamp(std::min(area.width(), area.height()) / 240.0, 0.35, 1.0);
    p.setFont(LabelFont(fit));
    const QFontMetricsF fm(p.font());
    const double margin = 12 * fit, height = 6 * std::max(0.75, m_labelZoom) * fit;
    const QPointF picture = area.bottomRight();
    const QRectF barRect(picture.x() - margin - bar, picture.y() - margin - height, bar, height);
    const double textWidth = fm.horizontalAdvance(label);
    const QRectF back = barRect
                            .united(QRectF(barRect.center().x() - textWidth / 2,
                                           barRect.top() - fm.height() - 2, textWidth, fm.height()))
                            .adjusted(-5 * fit, -3 * fit, 5 * fit, 4 * fit);
    // A picture too small even for the smaller bar shows none.
    if (!area.contains(back)) return;
    p.fillRect(back, QColor(0, 0, 0, 150));
    p.fillRect(barRect, Qt::white);
    p.setPen(Qt::white);
    p.drawText(QPointF(barRect.center().x() - textWidth / 2, barRect.top() - 2 - fm.descent()), label);
}

void MeasureManager::Draw(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (size_t i = 0; i < m_objects.size(); ++i)
        DrawObject(p, m_objects[i], static_cast<int>(i) + 1, static_cast<int>(i) == m_selected);
    if (m_pending) {
        MeasureObject shown = *m_pending;
        // A polygon being drawn is open until it is finished.
        if (shown.kind == ShapeKind::Polygon && shown.points.size() < 3) shown.kind = ShapeKind::Line;
        if (shown.kind == ShapeKind::Angle && shown.points.size() == 2) shown.kind = ShapeKind::Line;
        if (shown.kind == ShapeKind::Text) shown.text = QStringLiteral("…");
        DrawObject(p, shown, static_cast<int>(m_objects.size()) + 1, false);
    }
    if (m_scaleLine) DrawScaleBar(p);
    p.restore();
}

} // namespace kxvm
