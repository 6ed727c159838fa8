// The control pane's content: a tab control whose tabs "Aufnahme" and "Bild"
// hold the camera page and the image-processing page. The current tab is the
// working mode.
#pragma once

#include <QWidget>

class QTabWidget;

class CControlHost : public QWidget {
    Q_OBJECT
public:
    explicit CControlHost(QWidget* parent = nullptr);

    QTabWidget* TabControl() const { return m_tabs; }
    void SetCurSel(int index);
    int GetCurSel() const;
    // The page of a tab (0 camera, 1 image processing).
    QWidget* Page(int index) const;
    // Puts `page` in place of the tab's page, keeping the current tab.
    void InstallPage(int index, QWidget* page);

signals:
    // A page became visible: mode 1 for the camera page, 2 for image processing.
    void pageShown(int mode);

private:
    QTabWidget* m_tabs;
};
