// A push button with a shaded face: a vertical shade of the base colour over
// the window colour, roughened by a fixed noise, lighter under the mouse. The
// pages and dialogs set all their buttons up the same way (SetStandardShade).
#pragma once

#include <cstdint>

#include <QImage>
#include <QPushButton>

class CShadeButton : public QPushButton {
    Q_OBJECT
public:
    // The one shade type the program uses: bands that darken from top to bottom.
    static constexpr int kHorizontalShade = 2;

    explicit CShadeButton(const QString& text = QString(), QWidget* parent = nullptr);

    // granularity: noise amplitude in levels; highlight: levels added under the
    // mouse; coloring: weight of the base colour in tenths (0..10);
    // colour: 0x00BBGGRR.
    void SetShade(int shadeType, int granularity, int highlight, int coloring, uint32_t colour);
    // Shade type 2, granularity 8, highlight 20, colouring 5, colour 0x00FF3737.
    void SetStandardShade();

    // The face colour at the middle of the button in its normal state.
    QColor FaceColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& Face(int state);

    int m_granularity = 0;
    int m_highlight = 0;
    int m_coloring = 0;
    QColor m_colour;
    bool m_hover = false;
    // Faces for normal, hovered and pressed, made for the current size.
    QImage m_faces[3];
};
