// What the command line asks for at start-up.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FileNothing };

    // Arguments without the program name. Every non-option argument is a
    // file to open (a desktop entry passes all selected files); "/p" or "-p"
    // asks to print them instead.
    void ParseCommandLine(const QStringList& args);

    ShellCommand m_nShellCommand = FileNew;
    QStringList m_fileNames;
};
