// The image browser (template 219) in a docking pane of camera mode: the stills
// of the capture folder and those captured in this run, a thumbnail of one of them (at most 200 pixels wide
// or high) with a counter, "<<" and ">>" to step through them and "Bild öffnen", which asks the frame (1235)
// to open the still shown as a document.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "TemplateDialog.h"

class CMessageTarget;
class QComboBox;
class QLabel;
class QPushButton;
namespace vimg {
class Image;
}

class CImageBrowser : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CImageBrowser(CMessageTarget* frame, QWidget* parent = nullptr);
    ~CImageBrowser() override;

    // Appends a written still (full path with extension), makes it current and shows it.
    void Add(const QString& path);
    // Appends the stills already in `folder` (JPEG and BMP pictures), oldest
    // first, and shows the newest.
    void AddExisting(const QString& folder);
    void Previous();
    void Next();
    void OpenCurrent();

    int Position() const { return m_position; }
    int Count() const;
    QString CounterText() const;
    const vimg::Image& Thumbnail() const { return *m_thumbnail; }
    // Tests see the message boxes here instead of answering them.
    void SetReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }

    QPushButton* m_previousButton;
    QPushButton* m_nextButton;
    QPushButton* m_openButton;

private:
    void ShowCurrent();

    CMessageTarget* m_frame;
    QComboBox* m_list;
    QLabel* m_picture;
    QLabel* m_counter;
    uint16_t m_position = 0; // 1-based; 0 = nothing shown
    std::unique_ptr<vimg::Image> m_thumbnail;
    // The path handed to the frame with 1235; it stays valid until the frame has copied it.
    QString m_openPath;
    std::function<void(const QString&)> m_report;
};
