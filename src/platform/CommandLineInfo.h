// What the command line asks for at start-up.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FileNothing };

    // Arguments without the program name. The first non-option argument is
    // the file; "/p" or "-p" before it asks to print.
    void ParseCommandLine(const QStringList& args);

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
};
