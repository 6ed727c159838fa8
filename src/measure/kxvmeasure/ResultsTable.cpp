#include "ResultsTable.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "SaveFile.h"

namespace kxvm {

namespace {

QString Number(double v) {
    return QString::number(v, 'f', 4);
}

} // namespace

ResultsTable::ResultsTable(QWidget* parent) : QWidget(parent, Qt::Tool), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("MeasureResults"));
    setWindowTitle(QStringLiteral("Messtabelle"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    auto* copy = new QPushButton(QStringLiteral("Kopieren"), this);
    copy->setObjectName(QStringLiteral("CopyResults"));
    auto* csv = new QPushButton(QStringLiteral("CSV exportieren..."), this);
    csv->setObjectName(QStringLiteral("ExportCsv"));
    connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("CSV exportieren"), m_suggested,
                                         QStringLiteral("CSV (*.csv);;Alle Dateien (*)"));
        QString error;
        if (!path.isEmpty() && !ExportCsv(path, &error))
            QMessageBox::warning(this, windowTitle(), QStringLiteral("Nicht exportiert:\n%1").arg(error));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(csv);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(820, 280);
}

QStringList ResultsTable::Header(const Calibration& calibration) {
    const QString unit = UnitName(calibration.IsCalibrated() ? calibration.unit : LengthUnit::Pixel);
    QStringList header = {QStringLiteral("Nr"), QStringLiteral("Typ")};
    // One value column per quantity, in the enumeration's order.
    for (const Quantity q : AllQuantities()) {
        const QString label = QuantityLabel(q);
        switch (DimensionOf(q)) {
        case Dimension::Plain:
            header << label + QStringLiteral(" (°)");
            break;
        case Dimension::Area:
            header << label + QStringLiteral(" (") + unit + QStringLiteral("²)");
            break;
        case Dimension::Length:
        case Dimension::Position:
            header << label + QStringLiteral(" (") + unit + QLatin1Char(')');
            break;
        }
    }
    header << QStringLiteral("Text");
    return header;
}

std::vector<QStringList> ResultsTable::Rows(const std::vector<MeasureObject>& objects,
                                            const Calibration& calibration) {
    std::vector<QStringList> rows;
    for (size_t i = 0; i < objects.size(); ++i) {
        QStringList row = {QString::number(i + 1), KindName(objects[i].kind)};
        for (size_t c = 0; c < kQuantityCount + 1; ++c)
            row << QString();
        for (const MeasureValue& v : Measure(objects[i]))
            row[static_cast<qsizetype>(v.quantity) + 2] = Number(v.In(calibration));
        row.back() = objects[i].text;
        rows.push_back(row);
    }
    return rows;
}

QString ResultsTable::ToCsv(const QStringList& header, const std::vector<QStringList>& rows) {
    auto line = [](const QStringList& fields) {
        QStringList out;
        for (QString f : fields) {
            if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) ||
                f.contains(QLatin1Char('\n')) || f.contains(QLatin1Char('\r')))
                f = QLatin1Char('"') + f.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
            out << f;
        }
        return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    QString text = line(header);
    for (const QStringList& row : rows)
        text += line(row);
    return text;
}

QString ResultsTable::ToTabText(const QStringList& header, const std::vector<QStringList>& rows) {
    auto line = [](QStringList fields) {
        for (QString& f : fields)
            f.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    QString text = line(header);
    for (const QStringList& row : rows)
        text += line(row);
    return text;
}

void ResultsTable::Compact(QStringList& header, std::vector<QStringList>& rows) {
    // Number and type stay; a value column or the text column goes when no row uses it.
    for (qsizetype c = header.size() - 1; c >= 2; --c) {
        const bool used =
            std::any_of(rows.begin(), rows.end(), [c](const QStringList& row) { return !row[c].isEmpty(); });
        if (used) continue;
        header.removeAt(c);
        for (QStringList& row : rows)
            row.removeAt(c);
    }
}

void ResultsTable::Refresh(const std::vector<MeasureObject>& objects, const Calibration& calibration) {
    m_header = Header(calibration);
    m_rows = Rows(objects, calibration);
    Compact(m_header, m_rows);
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(m_header.size()));
    m_table->setHorizontalHeaderLabels(m_header);
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (qsizetype c = 0; c < m_rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(m_rows[r][c]);
            if (c != 1 && !m_header[c].startsWith(QStringLiteral("Text")))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    m_table->resizeColumnsToContents();
}

void ResultsTable::CopyToClipboard() const {
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(ToTabText(m_header, m_rows));
}

bool ResultsTable::ExportCsv(const QString& path, QString* error) const {
    return vimg::SaveBytes(path, ToCsv(m_header, m_rows).toUtf8(), error);
}

} // namespace kxvm
