// Helpers of the document and view tests: a started program, files to open,
// answers to the message boxes the commands show.
#pragma once

#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include "AppTestSupport.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "MultiDocTemplate.h"

namespace doctest {

// Answers every message box that opens while it lives with `button` and
// keeps the texts shown.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton button) : m_button(button) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                if (QAbstractButton* b = box->button(m_button)) b->click();
                else box->reject();
            }
        });
        m_timer.start(5);
    }
    QStringList texts;

private:
    QMessageBox::StandardButton m_button;
    QTimer m_timer;
};

// Opens `path`; the frame follows the new active window (status texts,
// histogram) on the event loop's next turn, which this serves.
inline CKXViewDoc* Open(apptest::StartedApp& s, const QString& path) {
    auto* doc = dynamic_cast<CKXViewDoc*>(s.app->m_pDocTemplate->OpenDocumentFile(path));
    QCoreApplication::processEvents();
    return doc;
}

inline CKXViewView* ViewOf(const CKXViewDoc* doc) { return doc ? doc->FirstView() : nullptr; }

} // namespace doctest
