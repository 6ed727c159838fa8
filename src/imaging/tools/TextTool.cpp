#include "TextTool.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>

#include "Image.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "TextDraw.h"

void CTextTool::Press(QMouseEvent& event) {
    CKXViewDoc* doc = m_view.GetDocument();
    if (!doc) return;
    doc->m_tool = CKXViewDoc::TOOL_NONE;
    vimg::Image* image = doc->GetImage();
    if (!image || !image->IsValid() || doc->IsBusy() || !doc->SubmitUndo()) return;
    const QPoint pt = m_view.ClientToImage(event.position().toPoint());
    vimg::display::DrawStringEx(*image, pt.x(), pt.y(), &doc->Settings().textInfo);
    m_view.ScrollArea()->viewport()->update();
}
