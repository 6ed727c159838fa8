// What the program remembers of each camera across restarts, in a profile
// section of its own ("Camera <vendor:product> <name>", so two cameras never
// share one): the resolution, the capture name, format, count, interval and
// time-stamp switch, and the colour gains (the white balance). "Camera"
// "Chosen" keeps the camera list's row chosen last. Restored when that camera
// is found again; stored when it stops and when the capture settings change.
#pragma once

#include <QString>

#include "KXCamera.h"

class CameraCalls;
class CCaptureControl;
class CProfile;
class QComboBox;

class CCameraMemory {
public:
    explicit CCameraMemory(CProfile& profile) : m_profile(profile) {}

    static QString Section(const KXCameraIdentity& id);

    // The row of the camera list chosen last; -1 when none was.
    int ChosenRow() const;
    void StoreChosenRow(int row);
    // Puts back what is stored for camera `id`: the resolution selected in
    // `resolutions`, the capture settings and the gains. When nothing is stored
    // for it, a camera found after another one starts from the defaults (so it
    // never takes over the other's), the first one keeps what is set.
    void Restore(const KXCameraIdentity& id, QComboBox* resolutions, CCaptureControl& capture,
                 CameraCalls& calls);
    void Store(const KXCameraIdentity& id, const QComboBox* resolutions, const CCaptureControl& capture,
               CameraCalls& calls);

private:
    CProfile& m_profile;
    QString m_current; // the section of the camera restored or stored last
};
