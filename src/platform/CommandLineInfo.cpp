#include "CommandLineInfo.h"

void CCommandLineInfo::ParseCommandLine(const QStringList& args) {
    m_nShellCommand = FileNew;
    m_strFileName.clear();
    bool print = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("/p") || arg == QLatin1String("-p")) {
            print = true;
        } else if (!arg.startsWith(QLatin1Char('-')) && m_strFileName.isEmpty()) {
            m_strFileName = arg;
        }
    }
    if (!m_strFileName.isEmpty()) m_nShellCommand = print ? FilePrint : FileOpen;
}
