// What the command line asks for at start-up.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FileNothing };

    // Arguments without the program name. Every non-option argument is a
    // file to open (a desktop entry passes all selected files); "/p" or "-p"
    // asks to print them instead; after "--" every argument is a file. The
    // options of Usage() are taken with their values; other options are ignored.
    void ParseCommandLine(const QStringList& args);

    // The options in the user's language (the installed catalogue).
    static QString Usage();

    ShellCommand m_nShellCommand = FileNew;
    QStringList m_fileNames;
    bool m_showHelp = false;    // "-h", "--help": print Usage() and end
    bool m_showVersion = false; // "--version": print the version and end
    bool m_preview = false;     // "--preview"
    QString m_mode;             // "--mode camera|image"
    QString m_screenshot;       // "--screenshot PICTURE.png"
};
