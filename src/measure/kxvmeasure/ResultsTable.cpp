#include "ResultsTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "GreyStatistics.h"
#include "SaveFile.h"

namespace kxvm {

namespace {

// Without thousands separators, which a spreadsheet would take for decimals.
QString Number(double v, QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(v, 'f', 4);
}

ResultsTable::Host& TheHost() {
    static ResultsTable::Host host;
    return host;
}

// The values of every object, per quantity; NaN where an object has none.
std::vector<std::array<double, kQuantityCount>> Values(const std::vector<MeasureObject>& objects,
                                                       const Calibration& calibration, const vimg::Image* picture) {
    std::vector<std::array<double, kQuantityCount>> values;
    for (const MeasureObject& o : objects) {
        std::array<double, kQuantityCount> row;
        row.fill(std::numeric_limits<double>::quiet_NaN());
        std::vector<MeasureValue> measured = Measure(o);
        if (picture)
            if (const std::optional<GreyStatistics> grey = GreyStatistics::Of(*picture, o)) {
                const std::vector<MeasureValue> greyValues = grey->Values();
                measured.insert(measured.end(), greyValues.begin(), greyValues.end());
            }
        for (const MeasureValue& v : measured)
            row[static_cast<size_t>(v.quantity)] = v.In(calibration);
        values.push_back(row);
    }
    return values;
}

QString CsvLines(const std::vector<QStringList>& lines, QChar separator) {
    QString text;
    for (const QStringList& fields : lines) {
        QStringList out;
        for (QString f : fields) {
            if (f.contains(separator) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n')) ||
                f.contains(QLatin1Char('\r')))
                f = QLatin1Char('"') + f.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
            out << f;
        }
        text += out.join(separator) + QStringLiteral("\r\n");
    }
    return text;
}

QString TabLines(const std::vector<QStringList>& lines) {
    QString text;
    for (QStringList fields : lines) {
        for (QString& f : fields)
            f.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

ResultsTable::ResultsTable(QWidget* parent) : QWidget(parent, Qt::Tool), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("MeasureResults"));
    setWindowTitle(tr("Messtabelle"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    auto* copy = new QPushButton(tr("Kopieren"), this);
    copy->setObjectName(QStringLiteral("CopyResults"));
    auto* csv = new QPushButton(tr("CSV exportieren..."), this);
    csv->setObjectName(QStringLiteral("ExportCsv"));
    connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("CSV exportieren"), m_suggested,
                                                          tr("CSV (*.csv);;Alle Dateien (*)"));
        QString error;
        if (!path.isEmpty() && !ExportCsv(path, &error))
            QMessageBox::warning(this, windowTitle(), tr("Nicht exportiert:\n%1").arg(error));
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

void ResultsTable::SetHost(Host host) {
    TheHost() = std::move(host);
}

bool ResultsTable::HasHost() {
    return static_cast<bool>(TheHost());
}

void ResultsTable::Present() {
    if (TheHost()) {
        TheHost()(this);
        return;
    }
    show();
    raise();
}

void ResultsTable::SetPictureName(const QString& name) {
    if (name == m_picture && !name.isEmpty()) return;
    m_picture = name;
    setWindowTitle(name.isEmpty() ? tr("Messtabelle") : tr("Messtabelle - %1").arg(name));
    emit TitleChanged(windowTitle());
}

QStringList ResultsTable::Header(const Calibration& calibration) {
    const QString unit = UnitName(calibration.IsCalibrated() ? calibration.unit : LengthUnit::Pixel);
    QStringList header = {tr("Nr"), tr("Typ")};
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
        case Dimension::Grey:
            header << label;
            break;
        }
    }
    header << tr("Text");
    return header;
}

std::vector<QStringList> ResultsTable::Rows(const std::vector<MeasureObject>& objects, const Calibration& calibration,
                                            const vimg::Image* picture, const QLocale& locale) {
    const auto values = Values(objects, calibration, picture);
    std::vector<QStringList> rows;
    for (size_t i = 0; i < objects.size(); ++i) {
        QStringList row = {QString::number(i + 1), KindName(objects[i].kind)};
        for (const double v : values[i])
            row << (std::isnan(v) ? QString() : Number(v, locale));
        row << objects[i].text;
        rows.push_back(row);
    }
    return rows;
}

std::vector<QStringList> ResultsTable::Summary(const std::vector<MeasureObject>& objects,
                                               const Calibration& calibration, const vimg::Image* picture,
                                               const QLocale& locale) {
    const auto values = Values(objects, calibration, picture);
    const QString names[] = {tr("Mittelwert"), tr("Std.-Abw."), tr("Minimum"), tr("Maximum"),
                             tr("Anzahl")};
    std::vector<QStringList> rows;
    for (const QString& name : names)
        rows.push_back({name, QString()});
    for (size_t q = 0; q < kQuantityCount; ++q) {
        std::vector<double> column;
        for (const auto& row : values)
            if (!std::isnan(row[q])) column.push_back(row[q]);
        if (column.empty()) {
            for (QStringList& row : rows)
                row << QString();
            continue;
        }
        const double n = static_cast<double>(column.size());
        double mean = 0;
        for (const double v : column)
            mean += v;
        mean /= n;
        double squares = 0;
        for (const double v : column)
            squares += (v - mean) * (v - mean);
        const auto [lo, hi] = std::minmax_element(column.begin(), column.end());
        rows[0] << Number(mean, locale);
        rows[1] << (column.size() > 1 ? Number(std::sqrt(squares / (n - 1)), locale) : QString());
        rows[2] << Number(*lo, locale);
        rows[3] << Number(*hi, locale);
        rows[4] << QString::number(column.size());
    }
    for (QStringList& row : rows)
        row << QString();
    return rows;
}

std::vector<QStringList> ResultsTable::Preamble(const QString& picture, const Calibration& calibration,
                                                const QLocale& locale) {
    std::vector<QStringList> lines = {{tr("Bild"), picture}};
    if (calibration.IsCalibrated())
        lines.push_back({tr("Kalibrierung"), calibration.name,
                         tr("%1 Pixel/%2")
                             .arg(locale.toString(calibration.pixelsPerUnit, 'g', 10), UnitName(calibration.unit))});
    else
        lines.push_back({tr("Kalibrierung"), tr("keine (Pixel)")});
    lines.push_back({});
    return lines;
}

QChar ResultsTable::CsvSeparator(const QLocale& locale) {
    return locale.decimalPoint() == QStringLiteral(",") ? u';' : u',';
}

QString ResultsTable::ToCsv(const QStringList& header, const std::vector<QStringList>& rows, QChar separator) {
    std::vector<QStringList> lines = {header};
    lines.insert(lines.end(), rows.begin(), rows.end());
    return CsvLines(lines, separator);
}

QString ResultsTable::ToTabText(const QStringList& header, const std::vector<QStringList>& rows) {
    std::vector<QStringList> lines = {header};
    lines.insert(lines.end(), rows.begin(), rows.end());
    return TabLines(lines);
}

void ResultsTable::Compact(QStringList& header, std::vector<QStringList>& rows, std::vector<QStringList>* also) {
    // Number and type stay; a value column or the text column goes when no row uses it.
    for (qsizetype c = header.size() - 1; c >= 2; --c) {
        const bool used =
            std::any_of(rows.begin(), rows.end(), [c](const QStringList& row) { return !row[c].isEmpty(); });
        if (used) continue;
        header.removeAt(c);
        for (QStringList& row : rows)
            row.removeAt(c);
        if (also)
            for (QStringList& row : *also)
                if (c < row.size()) row.removeAt(c);
    }
}

void ResultsTable::Refresh(const std::vector<MeasureObject>& objects, const Calibration& calibration,
                           const vimg::Image* picture) {
    const QLocale locale;
    m_calibration = calibration;
    m_header = Header(calibration);
    m_rows = Rows(objects, calibration, picture, locale);
    std::vector<QStringList> summary = objects.empty() ? std::vector<QStringList>()
                                                       : Summary(objects, calibration, picture, locale);
    Compact(m_header, m_rows, &summary);
    const int textColumn = m_header.last() == tr("Text") ? static_cast<int>(m_header.size()) - 1 : -1;
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(m_header.size()));
    m_table->setHorizontalHeaderLabels(m_header);
    m_table->setRowCount(static_cast<int>(m_rows.size() + summary.size()));
    QFont bold = m_table->font();
    bold.setBold(true);
    auto put = [&](size_t r, const QStringList& row, bool isSummary) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            if (c != 1 && c != textColumn && !(isSummary && c == 0))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (isSummary) {
                item->setFont(bold);
                item->setBackground(m_table->palette().alternateBase());
            }
            m_table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    };
    for (size_t r = 0; r < m_rows.size(); ++r)
        put(r, m_rows[r], false);
    for (size_t r = 0; r < summary.size(); ++r)
        put(m_rows.size() + r, summary[r], true);
    m_table->resizeColumnsToContents();
}

std::vector<QStringList> ResultsTable::PreambleRows() const {
    return Preamble(m_picture, m_calibration, QLocale());
}

void ResultsTable::CopyToClipboard() const {
    if (QClipboard* clipboard = QApplication::clipboard())
        clipboard->setText(TabLines(PreambleRows()) + ToTabText(m_header, m_rows));
}

bool ResultsTable::ExportCsv(const QString& path, QString* error) const {
    const QChar separator = CsvSeparator(QLocale());
    return vimg::SaveBytes(path, (CsvLines(PreambleRows(), separator) + ToCsv(m_header, m_rows, separator)).toUtf8(),
                           error);
}

} // namespace kxvm
