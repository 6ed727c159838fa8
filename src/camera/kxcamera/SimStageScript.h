// Commands for the simulated microscope's stage from a file, so scripts and
// tests can move the slide without the keyboard. The file named by
// VISTOREL_SIM_STAGE_FILE is read and removed by the camera while it runs; each
// line is one command (write the file elsewhere and rename it into place):
//   stage X Y   middle of the field of view at specimen pixel (X, Y)
//   move DX DY  by DX, DY specimen pixels
//   focus Z     focus at depth Z micrometres
//   turn DZ     focus by DZ micrometres
#pragma once

#include <QString>

#include "SimPicture.h"

namespace kxcam {

class SimStageScript {
public:
    // The file from the environment; none when the variable is not set.
    static SimStageScript FromEnvironment();
    explicit SimStageScript(QString path) : m_path(std::move(path)) {}

    // Applies the commands of `text` to `stage`; false and `error` set at the
    // first line that is not a command (the lines before it apply).
    static bool Apply(const QString& text, StagePosition& stage, QString* error = nullptr);
    // Reads, removes and applies the file when it is there; true when it was.
    bool Poll(StagePosition& stage) const;

private:
    QString m_path;
};

} // namespace kxcam
