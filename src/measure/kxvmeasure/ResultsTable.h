// The results table window: one row per object with its values in the
// calibrated unit; copies to the clipboard (tab separated) and exports CSV.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>
#include <QWidget>

#include "Calibration.h"
#include "MeasureObject.h"

class QTableWidget;

namespace kxvm {

class ResultsTable : public QWidget {
    Q_OBJECT
public:
    explicit ResultsTable(QWidget* parent = nullptr);

    void Refresh(const std::vector<MeasureObject>& objects, const Calibration& calibration);
    void SetSuggestedPath(const QString& path) { m_suggested = path; }
    QTableWidget* Table() const { return m_table; }

    // The table as text: column names with units, then one row per object.
    static QStringList Header(const Calibration& calibration);
    static std::vector<QStringList> Rows(const std::vector<MeasureObject>& objects,
                                         const Calibration& calibration);
    // Comma separated, fields with commas, quotes or line breaks quoted.
    // Leaves out the value columns no object fills (what the window, the
    // clipboard and the CSV file show).
    static void Compact(QStringList& header, std::vector<QStringList>& rows);
    static QString ToCsv(const QStringList& header, const std::vector<QStringList>& rows);
    static QString ToTabText(const QStringList& header, const std::vector<QStringList>& rows);

    void CopyToClipboard() const;
    bool ExportCsv(const QString& path, QString* error) const;

private:
    QTableWidget* m_table;
    QStringList m_header;
    std::vector<QStringList> m_rows;
    QString m_suggested;
};

} // namespace kxvm
