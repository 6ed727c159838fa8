#include "DialogCompose.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "KXViewDoc.h"

namespace {

constexpr int kDocumentRole = Qt::UserRole;

} // namespace

CDialogCompose::CDialogCompose(Kind kind, const std::vector<CKXViewDoc*>& documents, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    const bool stack = kind == Kind::FocusStack;
    setWindowTitle(stack ? QCoreApplication::translate("ComposeDialog", "Schärfentiefe erweitern")
                         : QCoreApplication::translate("ComposeDialog", "Bilder zusammenfügen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        stack ? QCoreApplication::translate("ComposeDialog",
                                            "Bilder der Fokusreihe, in der Reihenfolge der Ebenen:")
              : QCoreApplication::translate("ComposeDialog",
                                            "Bilder, die zusammengefügt werden (beliebige Reihenfolge):"),
        this));
    for (CKXViewDoc* doc : documents) {
        auto* item = new QListWidgetItem(doc->GetTitle(), m_list);
        item->setData(kDocumentRole, QVariant::fromValue(static_cast<void*>(doc)));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    if (m_list->count() > 0) m_list->setCurrentRow(0);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    auto* moves = new QVBoxLayout;
    auto* up = new QPushButton(QCoreApplication::translate("ComposeDialog", "Nach oben"), this);
    auto* down = new QPushButton(QCoreApplication::translate("ComposeDialog", "Nach unten"), this);
    connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Move(1); });
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch();
    row->addLayout(moves);
    layout->addLayout(row);

    if (stack) {
        m_align = new QCheckBox(
            QCoreApplication::translate("ComposeDialog", "Bilder ausrichten (Verschiebung, Maßstab)"), this);
        m_align->setChecked(true);
        layout->addWidget(m_align);
        m_depthMap =
            new QCheckBox(QCoreApplication::translate("ComposeDialog", "Tiefenkarte als eigenes Bild"), this);
        layout->addWidget(m_depthMap);
    } else {
        auto* form = new QFormLayout;
        auto spin = [this, form](const QString& label, int high, const QString& open) {
            auto* box = new QSpinBox(this);
            box->setRange(0, high);
            box->setSpecialValueText(open); // 0: not known
            form->addRow(label, box);
            return box;
        };
        m_columns = spin(QCoreApplication::translate("ComposeDialog", "Spalten:"), 1000,
                         QCoreApplication::translate("ComposeDialog", "beliebig"));
        m_rows = spin(QCoreApplication::translate("ComposeDialog", "Zeilen:"), 1000,
                      QCoreApplication::translate("ComposeDialog", "beliebig"));
        m_overlap = spin(QCoreApplication::translate("ComposeDialog", "Überlappung (%):"), 90,
                         QCoreApplication::translate("ComposeDialog", "unbekannt"));
        layout->addLayout(form);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QCoreApplication::translate("ComposeDialog", "OK"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(QCoreApplication::translate("ComposeDialog", "Abbrechen"),
                       QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogCompose::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDialogCompose::reject);
    layout->addWidget(buttons);
}

void CDialogCompose::Move(int step) {
    const int from = m_list->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= m_list->count()) return;
    m_list->insertItem(to, m_list->takeItem(from));
    m_list->setCurrentRow(to);
}

std::vector<CKXViewDoc*> CDialogCompose::Chosen() const {
    std::vector<CKXViewDoc*> chosen;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            chosen.push_back(static_cast<CKXViewDoc*>(m_list->item(i)->data(kDocumentRole).value<void*>()));
    return chosen;
}

bool CDialogCompose::DepthMap() const { return m_depthMap && m_depthMap->isChecked(); }
bool CDialogCompose::Align() const { return m_align && m_align->isChecked(); }
int CDialogCompose::Columns() const { return m_columns ? m_columns->value() : 0; }
int CDialogCompose::Rows() const { return m_rows ? m_rows->value() : 0; }
double CDialogCompose::Overlap() const { return m_overlap ? m_overlap->value() / 100.0 : 0; }

void CDialogCompose::accept() {
    if (Chosen().size() < 2) {
        QMessageBox::warning(
            this, windowTitle(),
            QCoreApplication::translate("ComposeDialog", "Bitte mindestens zwei Bilder wählen."),
            QMessageBox::Ok);
        return;
    }
    if (m_columns && (Columns() > 0) != (Rows() > 0)) {
        QMessageBox::warning(
            this, windowTitle(),
            QCoreApplication::translate("ComposeDialog", "Spalten und Zeilen bitte beide angeben."),
            QMessageBox::Ok);
        return;
    }
    if (m_columns && Columns() > 0 && static_cast<size_t>(Columns() * Rows()) != Chosen().size()) {
        QMessageBox::warning(
            this, windowTitle(),
            QCoreApplication::translate("ComposeDialog", "%1 x %2 Felder, aber %3 Bilder gewählt.")
                .arg(Columns())
                .arg(Rows())
                .arg(Chosen().size()),
            QMessageBox::Ok);
        return;
    }
    QDialog::accept();
}
