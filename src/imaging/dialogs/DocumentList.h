// Drop-down lists of documents in the processing dialogs: the entry text is
// the document's title, the entry data the document.
#pragma once

#include <vector>

class CKXViewDoc;
class QComboBox;

namespace documentlist {

// Every open image document of every document template, in their order.
std::vector<CKXViewDoc*> OpenDocuments();
// Fills the list; withNone puts "(None)" (no document) first.
void Fill(QComboBox* list, const std::vector<CKXViewDoc*>& documents, bool withNone = false);
// The document of the selected entry; null for "(None)" or no selection.
CKXViewDoc* Selected(const QComboBox* list);

} // namespace documentlist
