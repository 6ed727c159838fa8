#include "PreviewMeasure.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "MeasureManager.h"
#include "Resource.h"

namespace kxvm {

PreviewMeasure::PreviewMeasure(QWidget* display, std::function<QString()> camera)
    : QWidget(display), m_manager(std::make_unique<MeasureManager>(this)), m_camera(std::move(camera)) {
    setObjectName(QStringLiteral("PreviewMeasure"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    m_manager->LimitShapes({ShapeKind::Line, ShapeKind::Rectangle});
    m_manager->FollowStoredCalibration();
    display->installEventFilter(this);
    setGeometry(display->rect());
    show();
}

PreviewMeasure::~PreviewMeasure() = default;

void PreviewMeasure::SetFrameSize(QSize size) {
    m_frame = size;
    m_manager->SetImage(size, 0, m_camera ? m_camera() : QString(), QString());
    Rescale();
}

void PreviewMeasure::Rescale() {
    if (m_frame.width() > 0)
        m_manager->SetScale(static_cast<float>(width()) / static_cast<float>(m_frame.width()));
    update();
}

bool PreviewMeasure::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        raise();
        Rescale();
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewMeasure::paintEvent(QPaintEvent*) {
    if (m_frame.isEmpty()) return;
    QPainter painter(this);
    m_manager->Draw(painter);
}

void PreviewMeasure::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_frame.isEmpty()) {
        event->ignore();
        return;
    }
    m_manager->MouseDown(event->position());
    m_tracking = m_manager->IsDrawing() || m_manager->Selected() >= 0;
    // Nothing to measure or move here: the preview underneath gets the click.
    if (!m_tracking) event->ignore();
}

void PreviewMeasure::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_manager->MouseMove(event->position());
}

void PreviewMeasure::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_tracking = false;
    m_manager->MouseUp(event->position());
}

void PreviewMeasure::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    auto item = [&](int id, const QString& text) {
        QAction* action = menu.addAction(text, this, [this, id] { m_manager->MenuItem(id); });
        action->setEnabled(m_manager->MenuItemEnabled(id));
        return action;
    };
    auto shape = [&](int id, const QString& text, ShapeKind kind) {
        QAction* action = item(id, text);
        action->setCheckable(true);
        action->setChecked(m_manager->Shape() == kind);
    };
    shape(ID_MEASURE_SELECT, QCoreApplication::translate("PreviewMeasure", "Auswählen"), ShapeKind::Select);
    shape(ID_MEASURE_LINE, QCoreApplication::translate("PreviewMeasure", "Linie messen"), ShapeKind::Line);
    shape(ID_MEASURE_RECTANGLE, QCoreApplication::translate("PreviewMeasure", "Rechteck messen"),
          ShapeKind::Rectangle);
    menu.addSeparator();
    QAction* bar = item(ID_MEASURE_SCALE_BAR, QCoreApplication::translate("PreviewMeasure", "Maßstab"));
    bar->setCheckable(true);
    bar->setChecked(m_manager->ScaleLineShown());
    item(ID_MEASURE_CALIBRATE, QCoreApplication::translate("PreviewMeasure", "Kalibrierung..."));
    item(ID_MEASURE_DELETE, QCoreApplication::translate("PreviewMeasure", "Löschen"));
    item(ID_MEASURE_DELETE_ALL, QCoreApplication::translate("PreviewMeasure", "Alles löschen"));
    menu.exec(event->globalPos());
}

} // namespace kxvm
