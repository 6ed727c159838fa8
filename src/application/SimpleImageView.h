// Shows the document's image, shrunk to fit when it is larger than the view.
#pragma once

#include <QImage>

#include "View.h"

namespace vimg {
class Image;
}

class CSimpleImageView : public CView {
    Q_OBJECT
public:
    explicit CSimpleImageView(QWidget* parent = nullptr);

    void OnUpdate(CView* sender, LPARAM hint) override;
    // The picture of an image as the screen shows it.
    static QImage Render(const vimg::Image& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
