#include "ImageFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

const std::vector<CImageFileDialog::FormatRow>& CImageFileDialog::Formats() {
    static const std::vector<FormatRow> rows = {
        {-1, true, true, "Supported files",
         "*.bmp;*.gif;*.jpg;*.jpeg;*.png;*.ico;*.tif;*.tiff;*.tga;*.pcx;*.wbmp;*.wmf;*.emf;*.j2k;*.jp2;*.jbg;"
         "*.j2c;*.jpc;*.pgx;*.pnm;*.pgm;*.ppm;*.ras"},
        {1, true, true, "BMP files", "*.bmp"},
        {2, true, true, "GIF files", "*.gif"},
        {3, true, true, "JPG files", "*.jpg;*.jpeg"},
        {4, true, true, "PNG files", "*.png"},
        {5, true, true, "ICO CUR files", "*.ico;*.cur"},
        {6, true, true, "TIF files", "*.tif;*.tiff"},
        {7, true, true, "TGA files", "*.tga"},
        {8, true, true, "PCX files", "*.pcx"},
        {9, true, true, "WBMP files", "*.wbmp"},
        {10, true, false, "WMF EMF files", "*.wmf;*.emf"},
        {11, true, true, "JP2 files", "*.j2k;*.jp2"},
        {12, true, true, "JPC files", "*.j2c;*.jpc"},
        {13, true, true, "PGX files", "*.pgx"},
        {15, true, true, "RAS files", "*.ras"},
        {14, true, true, "PNM files", "*.pnm;*.pgm;*.ppm"},
    };
    return rows;
}

CImageFileDialog::Choice CImageFileDialog::BuildChoice(bool open, int formatId) {
    if (formatId == 0) formatId = 1;
    Choice c;
    for (const FormatRow& row : Formats()) {
        if (!(open ? row.open : row.save)) continue;
        const QString patterns = QString::fromLatin1(row.filter);
        if (row.id == formatId && c.defaultExt.isEmpty()) {
            c.initial = static_cast<int>(c.ids.size());
            // The whole first extension: "wbmp" must not shrink to "wbm".
            c.defaultExt = patterns.section(QLatin1Char(';'), 0, 0).mid(2);
        }
        c.filters << QStringLiteral("%1 (%2)").arg(
            QString::fromLatin1(row.description),
            QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
        c.ids.push_back(row.id);
    }
    if (c.defaultExt.isEmpty()) c.defaultExt = QStringLiteral("bmp");
    return c;
}

bool CImageFileDialog::PromptForFileName(QWidget* parent, QString& path, int flags, bool open,
                                         int& formatId) {
    const Choice c = BuildChoice(open, formatId);
    QFileDialog dlg(parent, open ? QStringLiteral("Open image file") : QStringLiteral("Save image file"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    flags |= OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    dlg.setFileMode(open && (flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(flags & OFN_OVERWRITEPROMPT));
    dlg.setNameFilters(c.filters);
    dlg.selectNameFilter(c.filters.value(c.initial));
    dlg.setDefaultSuffix(c.defaultExt);
    if (!path.isEmpty()) dlg.selectFile(path);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    path = dlg.selectedFiles().constFirst();
    const qsizetype index = c.filters.indexOf(dlg.selectedNameFilter());
    if (index >= 0) formatId = c.ids[static_cast<size_t>(index)];
    return true;
}

int CImageFileDialog::FindType(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    static const std::vector<std::pair<const char*, int>> table = {
        {"bmp", 1}, {"gif", 2}, {"jpg", 3}, {"jpeg", 3}, {"png", 4}, {"ico", 5}, {"tiff", 6}, {"tif", 6},
        {"tga", 7}, {"pcx", 8}, {"wbmp", 9}, {"wmf", 10}, {"emf", 10}, {"jp2", 11}, {"j2k", 11}, {"jpc", 12},
        {"j2c", 12}, {"pgx", 13}, {"pnm", 14}, {"pgm", 14}, {"ppm", 14}, {"ras", 15}};
    for (const auto& [e, id] : table)
        if (ext == QLatin1String(e)) return id;
    return 0;
}

QString CImageFileDialog::FormatShortName(int formatId) {
    if (formatId <= 0) return {};
    for (const FormatRow& row : Formats())
        if (row.id == formatId) return QString::fromLatin1(row.description).left(3);
    return {};
}
