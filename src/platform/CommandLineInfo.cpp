#include "CommandLineInfo.h"

void CCommandLineInfo::ParseCommandLine(const QStringList& args) {
    m_nShellCommand = FileNew;
    m_fileNames.clear();
    bool print = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("/p") || arg == QLatin1String("-p"))
            print = true;
        else if (!arg.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            m_fileNames << arg;
    }
    if (!m_fileNames.isEmpty()) m_nShellCommand = print ? FilePrint : FileOpen;
}
