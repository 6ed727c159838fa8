#include "CommandLineInfo.h"

#include <QCoreApplication>

void CCommandLineInfo::ParseCommandLine(const QStringList& args) {
    *this = CCommandLineInfo();
    bool print = false;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (onlyFiles) {
            m_fileNames << arg;
        } else if (arg == QLatin1String("--")) {
            onlyFiles = true;
        } else if (arg == QLatin1String("/p") || arg == QLatin1String("-p")) {
            print = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            m_showHelp = true;
        } else if (arg == QLatin1String("--version")) {
            m_showVersion = true;
        } else if (arg == QLatin1String("--preview")) {
            m_preview = true;
        } else if (arg == QLatin1String("--mode") && hasValue) {
            m_mode = args[++i];
        } else if (arg == QLatin1String("--screenshot") && hasValue) {
            m_screenshot = args[++i];
        } else if (!arg.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            m_fileNames << arg;
        }
    }
    if (!m_fileNames.isEmpty()) m_nShellCommand = print ? FilePrint : FileOpen;
}

QString CCommandLineInfo::Usage() {
    return QCoreApplication::translate(
        "CommandLine",
        "Aufruf: vistorel [OPTION...] [DATEI...]\n"
        "Live-Bild, Aufnahme und Bearbeitung von Bildern digitaler Mikroskopkameras.\n"
        "\n"
        "  DATEI...               die Bilder öffnen; das letzte ist aktiv\n"
        "  -p DATEI...            die Bilder auf dem Standarddrucker drucken und beenden\n"
        "  --mode camera|image    nach dem Start in diesen Arbeitsmodus wechseln\n"
        "  --preview              das Live-Bild der ersten Kamera starten (Kameramodus)\n"
        "  --screenshot BILD.png  das Hauptfenster nach dem Start als Bild speichern und beenden\n"
        "  -h, --help             diese Hilfe zeigen und beenden\n"
        "  --version              die Version zeigen und beenden\n"
        "  --                     alles Folgende sind Dateien, auch mit \"-\" am Anfang\n"
        "\n"
        "Einstellungen: $XDG_CONFIG_HOME/Vistorel/Vistorel.ini\n");
}
