// Choosing the open pictures to merge into one — a focus series for
// "Schärfentiefe erweitern..." or overlapping fields for "Bilder
// zusammenfügen..." — in the order they are used, with the command's options:
// the depth map for focus stacking, the grid hint for stitching.
#pragma once

#include <vector>

#include <QDialog>

class CKXViewDoc;
class QCheckBox;
class QListWidget;
class QSpinBox;

class CDialogCompose : public QDialog {
    Q_OBJECT
public:
    enum class Kind { FocusStack, Stitch };

    // `documents` in the order offered, all chosen at first.
    CDialogCompose(Kind kind, const std::vector<CKXViewDoc*>& documents, QWidget* parent = nullptr);

    // The chosen documents in the order shown.
    std::vector<CKXViewDoc*> Chosen() const;
    bool DepthMap() const;
    // Focus stacking: bring the frames onto the first (shift and the scale of focus breathing).
    bool Align() const;
    // The grid hint; 0 where the user left it open.
    int Columns() const;
    int Rows() const;
    double Overlap() const; // fraction, 0..0.9

    void accept() override;

private:
    void Move(int step);

    QListWidget* m_list;
    QCheckBox* m_depthMap = nullptr;
    QCheckBox* m_align = nullptr;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_overlap = nullptr;
};
