#include "ChildFrame.h"

#include <QMdiArea>

#include "CmdUI.h"
#include "KXVMeasure.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "MeasureManager.h"
#include "MeasureView.h"
#include "Resource.h"

namespace {

// The shape items of "&Messen" and the shape each one chooses.
constexpr std::pair<int, int> kShapeItems[] = {
    {ID_MEASURE_SELECT, 0},  {ID_MEASURE_LINE, 1},  {ID_MEASURE_RECTANGLE, 2}, {ID_MEASURE_ELLIPSE, 3},
    {ID_MEASURE_POLYGON, 4}, {ID_MEASURE_ANGLE, 5}, {ID_MEASURE_POINT, 6},     {ID_MEASURE_TEXT, 7}};

int ShapeOfItem(int id) {
    for (const auto& [item, shape] : kShapeItems)
        if (item == id) return shape;
    return -1;
}

} // namespace

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {
    // A tab that comes to the front after another was closed must fill the
    // area again: the MDI area leaves it at its old free size.
    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] {
        if (mdiArea() && mdiArea()->viewMode() == QMdiArea::TabbedView && !isMaximized()) showMaximized();
    });

    OnCommandRange(ID_MEASURE_FIRST, ID_MEASURE_LAST, [this](int id) { OnMeasureCommand(id); });
    OnUpdateCommandRange(ID_MEASURE_FIRST, ID_MEASURE_LAST, [this](CCmdUI* ui) {
        const uint32_t handle = MeasureHandle();
        const int state = handle ? KXVM_MenuItemState(ui->m_nID, handle) : 0;
        ui->Enable(state & 1);
        const int shape = ShapeOfItem(ui->m_nID);
        if (shape >= 0)
            ui->SetCheck(m_measureFlag == 5 && m_currentShape == shape);
        else if (kxvm::MeasureManager::IsToggle(ui->m_nID))
            ui->SetCheck((state & 2) ? 1 : 0);
    });
    OnCommand(ID_MEASURE_PROFILE, [this] {
        if (kxvm::MeasureManager* m = KXVM_Manager(MeasureHandle())) m->ShowProfile();
    });
    OnUpdateCommand(ID_MEASURE_PROFILE, [this](CCmdUI* ui) {
        const kxvm::MeasureManager* m = KXVM_Manager(MeasureHandle());
        ui->Enable(m && m->ProfileLine() >= 0);
    });
    OnCommand(ID_MEASURE_UNDO, [this] {
        if (const uint32_t handle = MeasureHandle()) KXVM_Undo(handle);
    });
    OnCommand(ID_MEASURE_REDO, [this] {
        if (const uint32_t handle = MeasureHandle()) KXVM_Redo(handle);
    });
    for (int id : {ID_MEASURE_UNDO, ID_MEASURE_REDO})
        OnUpdateCommand(id, [this, id](CCmdUI* ui) {
            const kxvm::MeasureManager* m = KXVM_Manager(MeasureHandle());
            ui->Enable(m && (id == ID_MEASURE_UNDO ? m->CanUndo() : m->CanRedo()));
        });
}

uint32_t CChildFrame::MeasureHandle() const {
    const auto* view = dynamic_cast<CKXViewView*>(GetActiveView());
    const auto* measure = view ? dynamic_cast<const CMeasureView*>(view->MeasureOverlay()) : nullptr;
    return measure ? measure->Handle() : 0;
}

void CChildFrame::OnMeasureCommand(int id) {
    auto* view = dynamic_cast<CKXViewView*>(GetActiveView());
    CKXViewDoc* doc = view ? view->GetDocument() : nullptr;
    if (doc) doc->m_tool = CKXViewDoc::TOOL_MEASURE;
    m_measureFlag = 5;
    const uint32_t handle = MeasureHandle();
    if (!handle || KXVM_MenuItemEvent(id, handle) == 0) return;
    if (const int shape = ShapeOfItem(id); shape >= 0) m_currentShape = shape;
    // "Maßstab" turns the document's scale bar on or off, which every paint hands on.
    if (id == ID_MEASURE_SCALE_BAR && doc) {
        doc->m_showScale = (KXVM_MenuItemState(id, handle) & 2) != 0;
        doc->UpdateAllViews(nullptr, 0);
    }
}

QSize CChildFrame::FittedClient(QSize picture, QSize area, QPoint offset) {
    return {qMin(picture.width() + 4, area.width() - offset.x() - 12),
            qMin(picture.height() + 4, area.height() - offset.y() - 12)};
}

void CChildFrame::FitToPicture(QSize picture) {
    if (isMinimized() || isMaximized() || !widget()) return;
    QMdiArea* area = mdiArea();
    // Tabbed documents fill the area; only free windows take the picture's size.
    if (!area || area->viewMode() == QMdiArea::TabbedView) return;
    const QSize decoration = size() - widget()->size();
    const QSize client = FittedClient(picture, area->viewport()->size(), pos());
    resize(client.expandedTo(QSize(1, 1)) + decoration);
}
