// Named calibrations kept in the profile for each camera and resolution, and
// which of them is active there. Section "Calibration", one entry per camera
// and resolution holding a small JSON text:
//   {"active": "10x", "list": [{"name": "10x", "pixelsPerUnit": 2.5, "unit": "µm"}, ...]}
#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "Calibration.h"

class CProfile;

namespace kxvm {

class CalibrationStore {
public:
    explicit CalibrationStore(CProfile& profile) : m_profile(profile) {}

    std::vector<Calibration> List(const QString& camera, int width, int height) const;
    std::optional<Calibration> Active(const QString& camera, int width, int height) const;
    // Adds or replaces the calibration of that name; `makeActive` selects it.
    void Put(const QString& camera, int width, int height, const Calibration& calibration, bool makeActive);
    void Remove(const QString& camera, int width, int height, const QString& name);
    // Selects a stored one by name; an empty name selects none.
    void SetActive(const QString& camera, int width, int height, const QString& name);

    static QString Entry(const QString& camera, int width, int height);

private:
    struct Stored {
        QString active;
        std::vector<Calibration> list;
    };
    Stored Read(const QString& camera, int width, int height) const;
    void Write(const QString& camera, int width, int height, const Stored& stored);

    CProfile& m_profile;
};

} // namespace kxvm
