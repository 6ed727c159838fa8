// The palette dialog: the colour table of an image as a grid of 16 × 16
// swatches. Entries are edited one by one (colour or alpha) through the colour
// chooser, a whole table is loaded from a JASC or RIFF palette file or saved
// as a RIFF one; OK reports how the caller should apply the table.
#pragma once

#include <array>
#include <functional>

#include <QColor>
#include <QPoint>
#include <QRect>

#include "ImageTypes.h"
#include "TemplateDialog.h"

class CDialogPalette : public CTemplateDialog {
    Q_OBJECT
public:
    // How OK asks the table to be applied.
    enum ApplyMode { MODE_NONE = 0, MODE_MAINTAIN_INDEXES = 1, MODE_NEAREST = 2, MODE_DIFFUSION = 3 };
    static constexpr int kOriginX = 14, kOriginY = 14, kCell = 11, kSpacing = 1, kColumns = 16;

    explicit CDialogPalette(QWidget* parent = nullptr);

    // The table shown: the first `count` (0..256) entries of `palette`.
    void SetTable(const vimg::RGBQUAD* palette, int count);
    const vimg::RGBQUAD* Table() const { return m_table.data(); }
    int Count() const { return m_count; }
    bool Changed() const { return m_changed; }
    int Selected() const { return m_selected; }
    int ApplyMode() const { return m_applyMode; }
    bool AlphaEditing() const { return m_alphaEdit; }

    // The entry under a client point, -1 for none.
    int HitTest(QPoint point) const;
    static QRect CellRect(int index);

    // Reads a palette file into the table, with the reader's message boxes;
    // a file that cannot be opened changes nothing.
    void LoadFile(const QString& path);
    // Writes the table as a RIFF palette beside `path` and renames it over;
    // false (and nothing changed on disk) when that fails.
    bool SaveFile(const QString& path) const;
    // Changes one entry as a double click with the chooser's answer does.
    void EditEntry(int index, const QColor& chosen);

    // The colour chooser; returns an invalid colour when cancelled. Tests replace it.
    std::function<QColor(const QColor& initial)> m_chooseColour;

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnLoad();
    void OnSave();
    QColor EntryColour(int index) const;

    std::array<vimg::RGBQUAD, 256> m_table{};
    int m_count = 0;
    int m_selected = -1;
    bool m_changed = false;
    bool m_alphaEdit = false;
    int m_applyMode = MODE_NONE;
};
