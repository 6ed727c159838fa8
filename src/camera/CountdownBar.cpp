#include "CountdownBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CCountdownBar::CCountdownBar(QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_cancel(new QPushButton(tr("Abbrechen"), this)) {
    setObjectName(QStringLiteral("CountdownBar"));
    m_cancel->setObjectName(QStringLiteral("CancelExposure"));
    m_cancel->setToolTip(tr("Belichtung abbrechen, ohne ein Bild zu speichern"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &CCountdownBar::cancelled);
    hide();
}

void CCountdownBar::ShowSeconds(int seconds) {
    m_text->setText(tr("Belichtung: noch %1 s").arg(seconds));
    show();
}

QString CCountdownBar::Text() const {
    return m_text->text();
}
