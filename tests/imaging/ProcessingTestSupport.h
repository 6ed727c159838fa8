// Helpers of the processing-command tests: documents made from pictures in
// memory, waiting for the worker, reading the status pane meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include <QCoreApplication>
#include <QMdiArea>
#include <QStringList>

#include "DocTestSupport.h"
#include "Image.h"
#include "MDIChildWnd.h"
#include "Resource.h"
#include "Resources.h"

namespace proctest {

// A new document that holds `image`.
inline CKXViewDoc* NewDoc(apptest::StartedApp& s, const vimg::Image& image, const QString& title = "pic") {
    auto* doc = dynamic_cast<CKXViewDoc*>(s.app->m_pDocTemplate->OpenDocumentFile(QString()));
    if (!doc) return nullptr;
    doc->SetImage(std::make_unique<vimg::Image>(image));
    doc->SetTitle(title);
    doc->UpdateAllViews(nullptr, 1025);
    return doc;
}

// Makes `doc` the active document, the one commands go to.
inline void Activate(apptest::StartedApp& s, CKXViewDoc* doc) {
    s.frame()->MdiArea()->setActiveSubWindow(doc->FirstView()->GetParentFrame());
}

// Serves the event loop until the document's operation has ended; the texts
// status pane 2 showed meanwhile, each once in a row.
inline QStringList WaitUntilIdle(apptest::StartedApp& s, CKXViewDoc* doc, int seconds = 120) {
    QStringList shown;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (doc->IsBusy() && std::chrono::steady_clock::now() < end) {
        // The job reports on timers of this thread: wait for the next event.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        const QString text = s.frame()->PaneText(2);
        if (shown.isEmpty() || shown.back() != text) shown << text;
    }
    QCoreApplication::processEvents();
    const QString text = s.frame()->PaneText(2);
    if (shown.isEmpty() || shown.back() != text) shown << text;
    return shown;
}

// The command ids of the three processing menus, in menu order.
inline std::vector<int> ProcessingMenuCommands() {
    std::vector<int> ids;
    std::function<void(const std::vector<MenuItem>&)> walk = [&](const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            if (!item.popup.empty())
                walk(item.popup);
            else if (item.id != 0)
                ids.push_back(item.id);
        }
    };
    for (const MenuItem& top : resources::Menu(IDR_VISTORTYPE).popups) {
        const std::string name = top.text;
        if (name == "&Bildbearbeitung" || name == "Filters(&L)" || name == "Fluorescence(&U)")
            walk(top.popup);
    }
    return ids;
}

// Documents of the program in their order of creation.
inline std::vector<CKXViewDoc*> Documents(apptest::StartedApp& s) {
    std::vector<CKXViewDoc*> docs;
    for (CDocument* d : s.app->m_pDocTemplate->GetDocuments())
        docs.push_back(dynamic_cast<CKXViewDoc*>(d));
    return docs;
}

} // namespace proctest
