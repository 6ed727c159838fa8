// The measurement objects of one view: drawing them in logical coordinates
// of the zoomed picture, making and editing them with the mouse, the menu
// commands, the calibration of the document, the scale bar, the data file and
// the undo history of object changes. Objects keep image coordinates, so
// they stay on their place in the picture at every zoom.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QFont>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>

#include "Calibration.h"
#include "MeasureObject.h"

class QPainter;
class QWidget;

namespace vimg {
class Image;
}

namespace kxvm {

class ProfilePlot;
class ResultsTable;

class MeasureManager {
public:
    // `view` is repainted after every change and owns the dialogs; may be null.
    explicit MeasureManager(QWidget* view);
    ~MeasureManager();
    MeasureManager(const MeasureManager&) = delete;
    MeasureManager& operator=(const MeasureManager&) = delete;

    void SetScale(float zoom);
    // The part of the picture the screen shows, in logical coordinates: the
    // scale bar keeps to its lower right corner. Empty (renderings for saves
    // and prints): the picture's own corner.
    void SetVisibleArea(const QRectF& logical) { m_visible = logical; }
    float Scale() const { return m_scale; }
    void ShowScaleLine(bool show) { m_scaleLine = show; }
    bool ScaleLineShown() const { return m_scaleLine; }
    // The picture the objects lie on. A positive pixel size (µm per pixel)
    // that the picture carries becomes the active calibration; otherwise, for
    // a picture that names its camera, the one stored as active for that
    // camera and resolution, as long as the user has not chosen one for this
    // document.
    void SetImage(QSize size, double micronsPerPixel, const QString& camera, const QString& path);
    QSize ImageSize() const { return m_imageSize; }
    // Only these shapes may be chosen (the live preview offers lines and rectangles).
    void LimitShapes(std::vector<ShapeKind> allowed) { m_allowed = std::move(allowed); }
    // Always take the calibration stored for the camera and resolution (the
    // live preview, whose resolution changes under it).
    void FollowStoredCalibration() { m_followStored = true; }

    // Draws every object, the one being drawn and the scale bar, in logical
    // coordinates (image coordinates times the zoom).
    void Draw(QPainter& painter);

    // Mouse input in logical coordinates.
    void MouseDown(QPointF logical);
    void MouseMove(QPointF logical);
    void MouseUp(QPointF logical);
    void DoubleClick(QPointF logical);

    // A "&Messen" command; false when it was not accepted.
    bool MenuItem(int id);
    // Whether the command can run now and whether its item shows a check.
    bool MenuItemEnabled(int id) const;
    bool MenuItemChecked(int id) const;
    // Whether the item is one that shows a check mark (a shape, the scale bar,
    // the table, a label zoom or a line width); the others are plain commands.
    static bool IsToggle(int id);
    bool Undo();
    bool Redo();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }

    ShapeKind Shape() const { return m_shape; }
    void SetShape(ShapeKind shape);
    const std::vector<MeasureObject>& Objects() const { return m_objects; }
    int Selected() const { return m_selected; }
    bool IsDrawing() const { return m_pending.has_value(); }
    // Adds an object as the mouse would (one undo step).
    void Add(const MeasureObject& object);
    void DeleteSelected();
    void DeleteAll();

    const Calibration& ActiveCalibration() const { return m_calibration; }
    // Chosen by the user for this document (none: pixels).
    void ChooseCalibration(const std::optional<Calibration>& calibration);
    double LabelZoom() const { return m_labelZoom; }
    int LineWidth() const { return m_style.lineWidth; }
    const MeasureObject& Style() const { return m_style; }

    bool SaveData(const QString& path, QString* error) const;
    bool LoadData(const QString& path, QString* error);
    // The shown length of the scale bar in the calibrated unit, and its
    // length in logical pixels; 0 when no bar is drawn.
    double ScaleBarLength() const;
    double ScaleBarLogical() const;

    ResultsTable* Table() const;
    void ShowTable();
    // The picture's name for the table's title and exports.
    void SetPictureName(const QString& name);
    // The picture whose grey values the table reports; may answer null.
    void SetPictureSource(std::function<const vimg::Image*()> source) { m_picture = std::move(source); }
    // Shows the table's values anew (after the picture changed).
    void RefreshTable();
    // The line whose profile "Linienprofil" shows: the selected one, else the
    // newest; -1 without a line or a picture.
    int ProfileLine() const;
    // Opens a plot of the grey profile along that line; false without one.
    bool ShowProfile();
    ProfilePlot* ProfileWindow() const;
    // Called after every change of the objects or the calibration.
    void SetChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    QPointF ToImage(QPointF logical) const;
    QPointF ToLogical(QPointF image) const { return image * m_scale; }
    double Tolerance() const;
    void Remember();
    void Changed();
    void Repaint() const;
    void Commit();
    void Calibrate();
    void SaveDataAsked();
    void OpenDataAsked();
    void UpdateCursor(QPointF image);
    int HitObject(QPointF image) const;
    int HitHandle(QPointF image) const;
    // `number` is the object's number in the results table (its "Nr").
    void DrawObject(QPainter& p, const MeasureObject& o, int number, bool selected) const;
    void DrawLabel(QPainter& p, QPointF at, const QStringList& lines, const MeasureObject& o,
                   QPointF grow) const;
    void DrawScaleBar(QPainter& p) const;
    QFont LabelFont(double factor = 1.0) const;
    // The picture in logical coordinates.
    QRectF PictureArea() const;

    QPointer<QWidget> m_view;
    float m_scale = 1.0f;
    QRectF m_visible;
    bool m_scaleLine = true;
    QSize m_imageSize;
    QString m_camera;
    QString m_imagePath;
    double m_imageMicronsPerPixel = 0;
    bool m_userCalibration = false;
    bool m_followStored = false;
    Calibration m_calibration;

    std::vector<ShapeKind> m_allowed;
    ShapeKind m_shape = ShapeKind::Select;
    std::vector<MeasureObject> m_objects;
    int m_selected = -1;
    MeasureObject m_style; // colours, width for new objects
    QFont m_font;
    double m_labelZoom = 1.0;

    // The object being drawn; its last point follows the mouse.
    std::optional<MeasureObject> m_pending;
    bool m_pressed = false;
    QPointF m_pressImage;
    enum class Drag { None, Object, Handle } m_drag = Drag::None;
    int m_dragHandle = -1;
    std::vector<MeasureObject> m_beforeDrag;

    std::vector<std::vector<MeasureObject>> m_undo;
    std::vector<std::vector<MeasureObject>> m_redo;

    QPointer<ResultsTable> m_table;
    QPointer<ProfilePlot> m_profile;
    QString m_pictureName;
    std::function<const vimg::Image*()> m_picture;
    std::function<void()> m_changed;
};

} // namespace kxvm
