#include "DocumentList.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

#include "KXViewDoc.h"
#include "MultiDocTemplate.h"
#include "WinApp.h"

namespace documentlist {

std::vector<CKXViewDoc*> OpenDocuments() {
    std::vector<CKXViewDoc*> documents;
    const CWinApp* app = AfxGetApp();
    if (!app) return documents;
    for (const auto& docTemplate : app->GetDocTemplates())
        for (CDocument* doc : docTemplate->GetDocuments())
            if (auto* imageDoc = dynamic_cast<CKXViewDoc*>(doc)) documents.push_back(imageDoc);
    return documents;
}

void Fill(QComboBox* list, const std::vector<CKXViewDoc*>& documents, bool withNone) {
    if (!list) return;
    // Filling is set-up, not the user's choice: no change notifications.
    const QSignalBlocker block(list);
    list->clear();
    if (withNone)
        list->addItem(QCoreApplication::translate("DocumentList", "(None)"),
                      QVariant::fromValue<quintptr>(0));
    for (CKXViewDoc* doc : documents)
        if (doc) list->addItem(doc->GetTitle(), QVariant::fromValue(reinterpret_cast<quintptr>(doc)));
}

CKXViewDoc* Selected(const QComboBox* list) {
    if (!list || list->currentIndex() < 0) return nullptr;
    return reinterpret_cast<CKXViewDoc*>(list->currentData().value<quintptr>());
}

} // namespace documentlist
