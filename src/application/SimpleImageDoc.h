// A document that holds one image, loaded by the image library with the
// format named by the file's extension. The full image document with its
// commands replaces it; until then it lets the shell open and show images.
#pragma once

#include <memory>

#include "Document.h"

class QImage;

namespace vimg {
class Image;
}

class CSimpleImageDoc : public CDocument {
public:
    CSimpleImageDoc();
    ~CSimpleImageDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;

    vimg::Image* GetImage() const { return m_image.get(); }
    void SetImage(std::unique_ptr<vimg::Image> image);
    // A 24-bit copy of a Qt picture; null for an empty picture.
    static std::unique_ptr<vimg::Image> FromQImage(const QImage& picture);

private:
    std::unique_ptr<vimg::Image> m_image;
};
