#include "CalibrationDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kxvm {

namespace {
enum Way { kNone = 0, kStored = 1, kLine = 2, kPixels = 3 };
const LengthUnit kUnits[] = {LengthUnit::Nanometre, LengthUnit::Micrometre, LengthUnit::Millimetre};
} // namespace

CalibrationDialog::CalibrationDialog(const CalibrationRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request), m_stored(new QComboBox(this)), m_name(new QLineEdit(this)),
      m_way(new QButtonGroup(this)), m_length(new QDoubleSpinBox(this)), m_pixels(new QDoubleSpinBox(this)),
      m_unit(new QComboBox(this)), m_keep(new QCheckBox(this)) {
    setObjectName(QStringLiteral("CalibrationDialog"));
    setWindowTitle(QCoreApplication::translate("CalibrationDialog", "Kalibrierung"));
    const QString size = QStringLiteral("%1 x %2").arg(request.resolution.width()).arg(request.resolution.height());
    const QString where = QStringLiteral("%1, %2").arg(
        request.camera.isEmpty() ? QCoreApplication::translate("CalibrationDialog", "ohne Kamera") : request.camera,
        size);
    const QString keepText =
        request.camera.isEmpty()
            ? QCoreApplication::translate("CalibrationDialog", "Für Bilder ohne Kamera (%1) speichern").arg(size)
            : QCoreApplication::translate("CalibrationDialog", "Für %1 (%2) speichern").arg(request.camera, size);
    auto* none = new QRadioButton(QCoreApplication::translate("CalibrationDialog", "Keine (Pixel)"), this);
    auto* stored = new QRadioButton(QCoreApplication::translate("CalibrationDialog", "Gespeichert:"), this);
    auto* line = new QRadioButton(
        QCoreApplication::translate("CalibrationDialog", "Gezeichnete Linie von %1 px ist lang:")
            .arg(QLocale().toString(request.linePixels, 'f', 2)),
        this);
    auto* pixels =
        new QRadioButton(QCoreApplication::translate("CalibrationDialog", "Pixel pro Einheit:"), this);
    auto* remove = new QPushButton(QCoreApplication::translate("CalibrationDialog", "Löschen"), this);
    for (auto [button, name] : {std::pair{none, "None"}, std::pair{stored, "Stored"},
                                std::pair{line, "FromLine"}, std::pair{pixels, "PixelsPerUnit"}})
        button->setObjectName(QLatin1String(name));
    m_length->setObjectName(QStringLiteral("Length"));
    m_pixels->setObjectName(QStringLiteral("Pixels"));
    m_unit->setObjectName(QStringLiteral("Unit"));
    m_name->setObjectName(QStringLiteral("Name"));
    remove->setObjectName(QStringLiteral("Remove"));
    m_way->addButton(none, kNone);
    m_way->addButton(stored, kStored);
    m_way->addButton(line, kLine);
    m_way->addButton(pixels, kPixels);
    for (const Calibration& c : request.stored)
        m_stored->addItem(
            QStringLiteral("%1 (%2 px/%3)").arg(c.name, FormatValue(c.pixelsPerUnit), UnitName(c.unit)),
            c.name);
    for (LengthUnit u : kUnits)
        m_unit->addItem(UnitName(u));
    m_unit->setCurrentIndex(1);
    m_length->setRange(0.000001, 1e9);
    m_length->setDecimals(4);
    m_length->setValue(100);
    m_pixels->setRange(0.000001, 1e9);
    m_pixels->setDecimals(6);
    m_pixels->setValue(1);
    m_name->setText(
        QCoreApplication::translate("CalibrationDialog", "Kalibrierung %1").arg(request.stored.size() + 1));
    m_keep->setText(keepText);
    m_keep->setChecked(true);
    line->setEnabled(request.linePixels > 0);
    stored->setEnabled(!request.stored.empty());
    remove->setEnabled(!request.stored.empty());

    auto* form = new QFormLayout;
    auto* storedRow = new QHBoxLayout;
    storedRow->addWidget(m_stored, 1);
    storedRow->addWidget(remove);
    form->addRow(none);
    form->addRow(stored, storedRow);
    form->addRow(line, m_length);
    form->addRow(pixels, m_pixels);
    form->addRow(QCoreApplication::translate("CalibrationDialog", "Einheit:"), m_unit);
    form->addRow(QCoreApplication::translate("CalibrationDialog", "Name:"), m_name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(where, this));
    layout->addLayout(form);
    layout->addWidget(m_keep);
    layout->addWidget(buttons);

    connect(m_stored, &QComboBox::activated, this,
            &CalibrationDialog::StoredChosen); // the user picking one, not a removal
    connect(m_way, &QButtonGroup::idClicked, this, [this] { UpdateState(); });
    connect(remove, &QPushButton::clicked, this, [this, remove] {
        const int i = m_stored->currentIndex();
        if (i < 0) return;
        m_removed.push_back(m_stored->itemData(i).toString());
        m_stored->removeItem(i);
        if (m_stored->count() == 0) {
            // Nothing stored is left to choose: pixels, unless another way is chosen.
            if (m_way->checkedId() == kStored) m_way->button(kNone)->setChecked(true);
            m_way->button(kStored)->setEnabled(false);
            remove->setEnabled(false);
        }
        UpdateState();
    });

    // Start from what is active now, else from the drawn line.
    int active = -1;
    for (size_t i = 0; request.active && i < request.stored.size(); ++i)
        if (request.stored[i] == *request.active) active = static_cast<int>(i);
    if (active >= 0) {
        m_stored->setCurrentIndex(active);
        stored->setChecked(true);
    } else if (request.linePixels > 0) {
        line->setChecked(true);
    } else if (request.active) {
        pixels->setChecked(true);
        m_pixels->setValue(request.active->pixelsPerUnit);
        m_unit->setCurrentText(UnitName(request.active->unit));
        m_name->setText(request.active->name);
    } else {
        none->setChecked(true);
    }
    UpdateState();
}

void CalibrationDialog::StoredChosen(int index) {
    if (index >= 0) m_way->button(kStored)->setChecked(true);
    UpdateState();
}

void CalibrationDialog::UpdateState() {
    const int way = m_way->checkedId();
    m_length->setEnabled(way == kLine);
    m_pixels->setEnabled(way == kPixels);
    m_unit->setEnabled(way == kLine || way == kPixels);
    m_name->setEnabled(way == kLine || way == kPixels);
}

CalibrationAnswer CalibrationDialog::Answer() const {
    CalibrationAnswer answer;
    answer.store = m_keep->isChecked();
    answer.removed = m_removed;
    const LengthUnit unit = kUnits[std::max(0, m_unit->currentIndex())];
    const QString name = m_name->text().trimmed().isEmpty()
                             ? QCoreApplication::translate("CalibrationDialog", "Kalibrierung")
                             : m_name->text().trimmed();
    switch (m_way->checkedId()) {
    case kStored:
        for (const Calibration& c : m_request.stored)
            if (c.name == m_stored->currentData().toString()) answer.chosen = c;
        break;
    case kLine:
        answer.chosen = Calibration::FromLine(name, m_request.linePixels, m_length->value(), unit);
        break;
    case kPixels:
        answer.chosen = Calibration::FromLine(name, m_pixels->value(), 1.0, unit);
        break;
    default:
        break;
    }
    return answer;
}

} // namespace kxvm
