#include "SimStageScript.h"

#include <cmath>

#include <QFile>
#include <QStringList>

#include "CameraLog.h"

namespace kxcam {

SimStageScript SimStageScript::FromEnvironment() {
    return SimStageScript(qEnvironmentVariable("VISTOREL_SIM_STAGE_FILE"));
}

bool SimStageScript::Apply(const QString& text, StagePosition& stage, QString* error) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString& command = words[0];
        const int arguments = command == QLatin1String("stage") || command == QLatin1String("move") ? 2 : 1;
        bool ok = words.size() == arguments + 1 &&
                  (command == QLatin1String("stage") || command == QLatin1String("move") ||
                   command == QLatin1String("focus") || command == QLatin1String("turn"));
        double value[2] = {};
        for (int i = 0; ok && i < arguments; ++i)
            value[i] = words[i + 1].toDouble(&ok);
        // Positions far beyond any stage are refused rather than wrapped into int.
        for (int i = 0; ok && i < arguments; ++i)
            ok = std::abs(value[i]) < 1e6;
        if (!ok) {
            if (error) *error = QStringLiteral("not a stage command: \"%1\"").arg(line.trimmed());
            return false;
        }
        if (command == QLatin1String("stage")) {
            stage.x = static_cast<int>(std::lround(value[0]));
            stage.y = static_cast<int>(std::lround(value[1]));
        } else if (command == QLatin1String("move")) {
            stage.x += static_cast<int>(std::lround(value[0]));
            stage.y += static_cast<int>(std::lround(value[1]));
        } else if (command == QLatin1String("focus")) {
            stage.z = value[0];
        } else {
            stage.z += value[0];
        }
        stage = SimPicture::Clamped(stage);
    }
    return true;
}

bool SimStageScript::Poll(StagePosition& stage) const {
    if (m_path.isEmpty() || !QFile::exists(m_path)) return false;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // A script is a few lines; more is not a script.
    const QByteArray text = file.read(64 * 1024);
    file.close();
    QFile::remove(m_path);
    QString error;
    if (!Apply(QString::fromUtf8(text), stage, &error))
        qCWarning(lcKxCamera) << "stage file" << m_path << error;
    return true;
}

} // namespace kxcam
