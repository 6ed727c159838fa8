#include "DialogProgress.h"

#include <algorithm>

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "GradientProgress.h"
#include "Resource.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{IDD_PROGRESS, "", 160, 16, {{IDC_PRG_BAR, K::Progress, "", 2, 2, 156, 12}}};

} // namespace

CDialogProgress::CDialogProgress(QWidget* parent) : CTemplateDialog(kTemplate, parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(false);
    setFont(QFont(QStringLiteral("宋体"), 10));
    m_bar = static_cast<CGradientProgress*>(SubclassDlgItem(IDC_PRG_BAR, new CGradientProgress));
}

void CDialogProgress::SetRange(int lower, int upper) { m_bar->setRange(lower, upper > 0 ? upper : 1); }

void CDialogProgress::SetPos(int pos) { m_bar->SetPos(pos); }

void CDialogProgress::StepIt() { m_bar->SetPos(std::min(m_bar->value() + m_step, m_bar->maximum())); }

void CDialogProgress::SetCaption(const QString& caption) { m_bar->SetCaption(caption); }

void CDialogProgress::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget()) {
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    CTemplateDialog::showEvent(event);
}

void CDialogProgress::paintEvent(QPaintEvent*) {
    // The sunken "static edge" around the bar.
    QPainter p(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
}
