// The program's image file dialog. Its rows of formats and the extensions that
// name a file's format come from the image library's codec registry.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

class QWidget;

class CImageFileDialog {
public:
    struct FormatRow {
        int id;
        bool open;
        bool save;
        QString description;
        QString filter; // patterns separated by ';'
    };

    // What the dialog offers for one mode and requested format.
    struct Choice {
        QStringList filters;  // Qt name filters, table order
        std::vector<int> ids; // format id of each filter
        int initial = 0;      // index of the preselected filter
        QString defaultExt;
    };

    // Dialog flags.
    static constexpr int OFN_OVERWRITEPROMPT = 0x2;
    static constexpr int OFN_HIDEREADONLY = 0x4;
    static constexpr int OFN_FILEMUSTEXIST = 0x1000;

    static const std::vector<FormatRow>& Formats();
    static Choice BuildChoice(bool open, int formatId);

    // Shows the dialog; on OK fills path and the chosen filter's format id
    // and returns true.
    static bool PromptForFileName(QWidget* parent, QString& path, int flags, bool open, int& formatId);
    // The open dialog for several existing files, starting in `folder`; the
    // chosen files, none when cancelled.
    static QStringList PromptForFilesToOpen(QWidget* parent, const QString& folder);

    // Format id of a path from its extension (0 when unknown).
    static int FindType(const QString& path);
    // Short name of a format for the status bar: "BMP", "JPG", ...
    static QString FormatShortName(int formatId);
};
