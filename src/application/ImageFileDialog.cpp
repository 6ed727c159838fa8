#include "ImageFileDialog.h"

#include "CodecRegistry.h"

#include <algorithm>
#include <string>

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString Patterns(const std::vector<std::string>& extensions) {
    QStringList patterns;
    for (const std::string& e : extensions) patterns << QStringLiteral("*.") + QString::fromStdString(e);
    return patterns.join(QLatin1Char(';'));
}

} // namespace

const std::vector<CImageFileDialog::FormatRow>& CImageFileDialog::Formats() {
    static const std::vector<FormatRow> rows = [] {
        const std::vector<const vimg::CodecEntry*> formats = vimg::CodecRegistry::Formats();
        // The first row offers every extension, by format id.
        std::vector<const vimg::CodecEntry*> byId = formats;
        std::stable_sort(byId.begin(), byId.end(), [](const vimg::CodecEntry* a, const vimg::CodecEntry* b) {
            return a->type < b->type;
        });
        std::vector<std::string> all;
        for (const vimg::CodecEntry* f : byId)
            all.insert(all.end(), f->extensions.begin(), f->extensions.end());
        std::vector<FormatRow> table{{-1, true, true,
                                      QCoreApplication::translate("ImageFileDialog", "Supported files"),
                                      Patterns(all)}};
        for (const vimg::CodecEntry* f : formats) {
            std::vector<std::string> listed = f->extensions;
            listed.insert(listed.end(), f->listedToo.begin(), f->listedToo.end());
            table.push_back(FormatRow{static_cast<int>(f->type), f->reads, f->writes,
                                      QString::fromLatin1(f->label) +
                                          QCoreApplication::translate("ImageFileDialog", " files"),
                                      Patterns(listed)});
        }
        return table;
    }();
    return rows;
}

CImageFileDialog::Choice CImageFileDialog::BuildChoice(bool open, int formatId) {
    if (formatId == 0) formatId = 1;
    Choice c;
    for (const FormatRow& row : Formats()) {
        if (!(open ? row.open : row.save)) continue;
        const QString& patterns = row.filter;
        if (row.id == formatId && c.defaultExt.isEmpty()) {
            c.initial = static_cast<int>(c.ids.size());
            // The whole first extension: "wbmp" must not shrink to "wbm".
            c.defaultExt = patterns.section(QLatin1Char(';'), 0, 0).mid(2);
        }
        c.filters << QStringLiteral("%1 (%2)").arg(
            row.description, QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
        c.ids.push_back(row.id);
    }
    if (c.defaultExt.isEmpty()) c.defaultExt = QStringLiteral("bmp");
    return c;
}

bool CImageFileDialog::PromptForFileName(QWidget* parent, QString& path, int flags, bool open,
                                         int& formatId) {
    const Choice c = BuildChoice(open, formatId);
    QFileDialog dlg(parent, open ? QCoreApplication::translate("ImageFileDialog", "Open image file")
                                 : QCoreApplication::translate("ImageFileDialog", "Save image file"));
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

QStringList CImageFileDialog::PromptForFilesToOpen(QWidget* parent, const QString& folder) {
    const Choice c = BuildChoice(true, -1);
    QFileDialog dlg(parent, QStringLiteral("Open image file"), folder);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    dlg.setNameFilters(c.filters);
    dlg.selectNameFilter(c.filters.value(c.initial));
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.selectedFiles();
}

int CImageFileDialog::FindType(const QString& path) {
    return static_cast<int>(vimg::CodecRegistry::TypeOfFileName(QFileInfo(path).fileName().toStdString()));
}

QString CImageFileDialog::FormatShortName(int formatId) {
    if (formatId <= 0) return {};
    for (const FormatRow& row : Formats())
        if (row.id == formatId) return row.description.left(3);
    return {};
}
