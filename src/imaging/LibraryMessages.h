// The image library's messages in the user's language. The library speaks
// English (its command-line tool does too); the program puts its fixed
// reasons into the user's language and leads them with its own sentence that
// names the file and what went wrong with it.
#pragma once

#include <QString>

class CLibraryMessages {
public:
    // The library's reason in the user's language: a fixed text it is known to
    // give is translated, as are the parts of the texts it puts together
    // ("PNG: damaged or unreadable file", "Decode: the content looks like
    // JPEG but cannot be read: ..."); anything else is shown as it is. An
    // empty text gives `fallback`.
    static QString Reason(const QString& library, const QString& fallback = QString());

    // The message for a picture that could not be opened: the lead sentence
    // naming the file, then `reason` (already in the user's language).
    static QString CannotOpen(const QString& path, const QString& reason);
};
