// The capture configuration dialog (template 220, "Capture Config"): a
// modeless window that edits the frame's capture settings - folder, file
// name, numbering, time stamp, stills per series, interval and file type -
// and stores them on OK. OK and Esc both post 1245 so the frame lets it go.
#pragma once

#include <functional>

#include <QString>

#include "MessageTarget.h"
#include "TemplateDialog.h"

class CCaptureControl;
class CNumericEditRule;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDialogCaptureConfig : public CTemplateDialog, public CMessageTarget {
    Q_OBJECT
public:
    CDialogCaptureConfig(CCaptureControl* settings, CMessageTarget* frame, QWidget* owner);

    // Takes the frame's settings and fits the file-type list to the camera.
    void Load();
    // The folder text for a picked folder: a separator at the end unless the
    // folder is a root.
    static QString FolderText(const QString& picked);
    // Tests answer the folder browser; it returns "" when cancelled.
    void SetFolderChooser(std::function<QString()> choose) { m_chooseFolder = std::move(choose); }
    // Where the messages about bad numbers go (tests record them).
    void SetReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }

    LRESULT WindowProc(UINT, WPARAM, LPARAM) override { return 0; } // the camera state is not used here
    void accept() override;
    void reject() override;

    int m_timestamp = 1;
    int m_numbered = 0;
    int m_count = 0;
    int m_interval = 0;
    QString m_folder;
    QString m_name;

    QLineEdit* m_nameEdit;
    QPushButton* m_numButton;
    QComboBox* m_typeList;
    QCheckBox* m_timestampBox;
    CNumericEditRule* m_countRule;
    CNumericEditRule* m_intervalRule;
    QLineEdit* m_folderEdit;
    QPushButton* m_browseButton;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ToControls();
    // Reads the controls back; false (with the framework's message) when a
    // number is missing or out of range.
    bool FromControls(bool validate);
    void OnTimestampClicked();
    void OnBrowse();
    void FillTypes(bool withRaw);

    CCaptureControl* m_settings;
    CMessageTarget* m_frame;
    std::function<QString()> m_chooseFolder;
    std::function<void(const QString&)> m_report;
};
