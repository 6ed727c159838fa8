// The results table of one picture: one row per object with its values in the
// calibrated unit (grey-level statistics of area shapes included) and summary
// rows beneath (mean, standard deviation, minimum, maximum and count of each
// column); copies to the clipboard (tab separated) and exports CSV. Numbers
// follow the locale: in one with a decimal comma the CSV file separates with
// ";". Copy and export begin with the picture's name and the calibration.
#pragma once

#include <functional>
#include <vector>

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "Calibration.h"
#include "MeasureObject.h"

class QTableWidget;

namespace vimg {
class Image;
}

namespace kxvm {

class ResultsTable : public QWidget {
    Q_OBJECT
public:
    explicit ResultsTable(QWidget* parent = nullptr);

    // Where new tables go: the main window installs a host that places each
    // one in its dock and shows it there; without one a table is a window of
    // its own over `parent`.
    using Host = std::function<void(ResultsTable*)>;
    static void SetHost(Host host);
    static bool HasHost();
    // Shows the table: through the host, or as its own window.
    void Present();

    // `picture` (may be null) gives the grey-level statistics.
    void Refresh(const std::vector<MeasureObject>& objects, const Calibration& calibration,
                 const vimg::Image* picture = nullptr);
    void SetSuggestedPath(const QString& path) { m_suggested = path; }
    // The picture's name, shown in the title and written above copies and exports.
    void SetPictureName(const QString& name);
    const QString& PictureName() const { return m_picture; }
    QTableWidget* Table() const { return m_table; }

    // The table as text: column names with units, then one row per object.
    static QStringList Header(const Calibration& calibration);
    static std::vector<QStringList> Rows(const std::vector<MeasureObject>& objects, const Calibration& calibration,
                                         const vimg::Image* picture = nullptr, const QLocale& locale = QLocale::c());
    // Mean, standard deviation (of the sample), minimum, maximum and count of
    // every value column, in the header's columns; the first column names the row.
    static std::vector<QStringList> Summary(const std::vector<MeasureObject>& objects,
                                            const Calibration& calibration, const vimg::Image* picture = nullptr,
                                            const QLocale& locale = QLocale::c());
    // Leaves out the value columns no row fills (what the window, the
    // clipboard and the CSV file show), in `rows` and in `also` alike.
    static void Compact(QStringList& header, std::vector<QStringList>& rows,
                        std::vector<QStringList>* also = nullptr);
    // The lines naming picture and calibration that lead copies and exports.
    static std::vector<QStringList> Preamble(const QString& picture, const Calibration& calibration,
                                             const QLocale& locale);
    // Fields separated by `separator`, those with it, quotes or line breaks quoted.
    static QString ToCsv(const QStringList& header, const std::vector<QStringList>& rows, QChar separator = u',');
    static QString ToTabText(const QStringList& header, const std::vector<QStringList>& rows);
    // ";" where the locale writes decimal commas, else ",".
    static QChar CsvSeparator(const QLocale& locale);

    void CopyToClipboard() const;
    bool ExportCsv(const QString& path, QString* error) const;

signals:
    void TitleChanged(const QString& title);

private:
    std::vector<QStringList> PreambleRows() const;

    QTableWidget* m_table;
    QStringList m_header;
    std::vector<QStringList> m_rows;
    Calibration m_calibration;
    QString m_suggested;
    QString m_picture;
};

} // namespace kxvm
