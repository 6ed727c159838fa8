// A small window with the grey profile along a measured line: grey value
// (0-255) over the distance from the line's start in the calibrated unit.
#pragma once

#include <vector>

#include <QString>
#include <QWidget>

namespace kxvm {

class ProfilePlot : public QWidget {
    Q_OBJECT
public:
    explicit ProfilePlot(QWidget* parent = nullptr);

    // `values` sampled evenly over `length` (in `unit`).
    void SetProfile(std::vector<double> values, double length, const QString& unit);
    const std::vector<double>& Values() const { return m_values; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> m_values;
    double m_length = 0;
    QString m_unit;
};

} // namespace kxvm
