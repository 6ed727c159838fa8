#include "LibraryMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QRegularExpression>

namespace {

// The library's fixed reasons (its own English) and the program's German for
// them, which the catalogue turns back into plain English.
struct KnownReason {
    const char* library;
    const char* german;
};

// clang-format off
constexpr KnownReason kKnown[] = {
    {"Decode: Unknown or wrong format", QT_TRANSLATE_NOOP("LibraryMessages", "Das Dateiformat ist unbekannt oder passt nicht zum Inhalt.")},
    {"damaged or unreadable file", QT_TRANSLATE_NOOP("LibraryMessages", "Die Datei ist beschädigt oder nicht lesbar.")},
    {"out of memory", QT_TRANSLATE_NOOP("LibraryMessages", "Nicht genug Arbeitsspeicher.")},
    {"can't allocate memory", QT_TRANSLATE_NOOP("LibraryMessages", "Nicht genug Arbeitsspeicher.")},
    {"Can't allocate memory", QT_TRANSLATE_NOOP("LibraryMessages", "Nicht genug Arbeitsspeicher.")},
    {"IMAGE_MAX_MEMORY exceeded", QT_TRANSLATE_NOOP("LibraryMessages", "Das Bild ist größer, als das Programm Speicher für ein Bild nimmt.")},
    {"Premature end of file?", QT_TRANSLATE_NOOP("LibraryMessages", "Die Datei endet zu früh.")},
    {"error: cannot decode image", QT_TRANSLATE_NOOP("LibraryMessages", "Die Bilddaten lassen sich nicht entschlüsseln.")},
    {"could not read the rest of the image", QT_TRANSLATE_NOOP("LibraryMessages", "Der Rest des Bildes lässt sich nicht lesen.")},
    {"Not a BMP", QT_TRANSLATE_NOOP("LibraryMessages", "Keine BMP-Datei.")},
    {"Error reading BMP info", QT_TRANSLATE_NOOP("LibraryMessages", "Der Kopf der BMP-Datei ist nicht lesbar.")},
    {"Not a JPEG file", QT_TRANSLATE_NOOP("LibraryMessages", "Keine JPEG-Datei.")},
    {"No image in jpeg!", QT_TRANSLATE_NOOP("LibraryMessages", "Die JPEG-Datei enthält kein Bild.")},
    {"Too many sections in jpg file", QT_TRANSLATE_NOOP("LibraryMessages", "Die JPEG-Datei hat zu viele Abschnitte.")},
    {"JPEG: more than 1000 scans, refused as a hostile file", QT_TRANSLATE_NOOP("LibraryMessages", "JPEG: mehr als 1000 Durchläufe, als schädliche Datei abgelehnt.")},
    {"PNG: the file ends early", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Die Datei endet zu früh.")},
    {"PNG: the file ends early (Read Error)", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Die Datei endet zu früh.")},
    {"PNG: CRC error in the image data", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Prüfsummenfehler (CRC) in den Bilddaten.")},
    {"PNG: CRC error in a chunk after the image data", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Prüfsummenfehler (CRC) in einem Block nach den Bilddaten.")},
    {"PNG: not enough image data", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Zu wenig Bilddaten.")},
    {"PNG: a chunk runs past the end of the file", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Ein Block reicht über das Dateiende hinaus.")},
    {"PNG: chunk length out of range", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Eine Blocklänge ist ungültig.")},
    {"PNG: invalid chunk type", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Ungültiger Blocktyp.")},
    {"PNG: image data expected", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Bilddaten fehlen.")},
    {"PNG: a second IHDR chunk", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Ein zweiter Bildkopf (IHDR).")},
    {"PNG: bad filter type in the image data", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Ungültiger Filtertyp in den Bilddaten.")},
    {"PNG: the image data fails its Adler-32 check", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Die Prüfsumme (Adler-32) der Bilddaten stimmt nicht.")},
    {"PNG: the image data has a bad zlib header", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Die Bilddaten haben einen ungültigen zlib-Kopf.")},
    {"PNG: the image data is damaged (inflate)", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Die Bilddaten sind beschädigt (inflate).")},
    {"PNG: out of memory", QT_TRANSLATE_NOOP("LibraryMessages", "PNG: Nicht genug Arbeitsspeicher.")},
    {"not a GIF file", QT_TRANSLATE_NOOP("LibraryMessages", "Keine GIF-Datei.")},
    {"GIF file without an image", QT_TRANSLATE_NOOP("LibraryMessages", "Die GIF-Datei enthält kein Bild.")},
    {"GIF file ends before its image data", QT_TRANSLATE_NOOP("LibraryMessages", "Die GIF-Datei endet vor ihren Bilddaten.")},
    {"GIF file ends before the image", QT_TRANSLATE_NOOP("LibraryMessages", "Die GIF-Datei endet vor dem Bild.")},
    {"GIF file ends in an image descriptor", QT_TRANSLATE_NOOP("LibraryMessages", "Die GIF-Datei endet in einer Bildbeschreibung.")},
    {"GIF file ends in its colour table", QT_TRANSLATE_NOOP("LibraryMessages", "Die GIF-Datei endet in ihrer Farbtabelle.")},
    {"GIF image of size 0", QT_TRANSLATE_NOOP("LibraryMessages", "Das GIF-Bild hat die Größe 0.")},
    {"Corrupted TIFF file!", QT_TRANSLATE_NOOP("LibraryMessages", "Die TIFF-Datei ist beschädigt.")},
    {"Corrupted tiled TIFF file!", QT_TRANSLATE_NOOP("LibraryMessages", "Die gekachelte TIFF-Datei ist beschädigt.")},
    {"Error encountered while opening TIFF file", QT_TRANSLATE_NOOP("LibraryMessages", "Die TIFF-Datei lässt sich nicht öffnen.")},
    {"Error: page not present in TIFF file", QT_TRANSLATE_NOOP("LibraryMessages", "Die Seite fehlt in der TIFF-Datei.")},
    {"multipage TIFF, no images!", QT_TRANSLATE_NOOP("LibraryMessages", "Die TIFF-Datei enthält keine Bilder.")},
    {"Not a TGA", QT_TRANSLATE_NOOP("LibraryMessages", "Keine TGA-Datei.")},
    {"bad TGA header", QT_TRANSLATE_NOOP("LibraryMessages", "Ungültiger TGA-Kopf.")},
    {"corrupted TGA", QT_TRANSLATE_NOOP("LibraryMessages", "Die TGA-Datei ist beschädigt.")},
    {"Unknown TGA image type", QT_TRANSLATE_NOOP("LibraryMessages", "Unbekannter TGA-Bildtyp.")},
    {"Error: Not a PCX file", QT_TRANSLATE_NOOP("LibraryMessages", "Keine PCX-Datei.")},
    {"corrupted PCX", QT_TRANSLATE_NOOP("LibraryMessages", "Die PCX-Datei ist beschädigt.")},
    {"Not an ICO file", QT_TRANSLATE_NOOP("LibraryMessages", "Keine ICO-Datei.")},
    {"Not a WBMP", QT_TRANSLATE_NOOP("LibraryMessages", "Keine WBMP-Datei.")},
    {"Corrupted WBMP", QT_TRANSLATE_NOOP("LibraryMessages", "Die WBMP-Datei ist beschädigt.")},
    {"corrupted WMF", QT_TRANSLATE_NOOP("LibraryMessages", "Die WMF-Datei ist beschädigt.")},
    {"empty WMF", QT_TRANSLATE_NOOP("LibraryMessages", "Die WMF-Datei ist leer.")},
    {"JPEG 2000: bad header", QT_TRANSLATE_NOOP("LibraryMessages", "JPEG 2000: Ungültiger Kopf.")},
    {"JPEG 2000: the code stream cannot be decoded", QT_TRANSLATE_NOOP("LibraryMessages", "JPEG 2000: Der Datenstrom lässt sich nicht entschlüsseln.")},
    {"Write Error", QT_TRANSLATE_NOOP("LibraryMessages", "Fehler beim Schreiben.")},
    {"Encode: Unknown format", QT_TRANSLATE_NOOP("LibraryMessages", "Dieses Format kann nicht geschrieben werden.")},
    {"Can save only RGB or GrayScale images", QT_TRANSLATE_NOOP("LibraryMessages", "Nur Farb- (RGB) oder Graubilder lassen sich so speichern.")},
    {"JPEG can save only RGB or GreyScale images", QT_TRANSLATE_NOOP("LibraryMessages", "JPEG speichert nur Farb- (RGB) oder Graubilder.")},
};
// clang-format on

QString Translated(const char* german) {
    return QCoreApplication::translate("LibraryMessages", german);
}

} // namespace

QString CLibraryMessages::Reason(const QString& library, const QString& fallback) {
    const QString text = library.trimmed();
    if (text.isEmpty()) return fallback;
    static const QHash<QString, const char*> known = [] {
        QHash<QString, const char*> table;
        for (const KnownReason& k : kKnown)
            table.insert(QString::fromLatin1(k.library), k.german);
        return table;
    }();
    if (const auto it = known.constFind(text); it != known.constEnd()) return Translated(it.value());

    // The texts the library puts together from a format name, a file name or another reason.
    static const QRegularExpression looksLike(
        QStringLiteral("^Decode: the content looks like (\\S+) but cannot be read: (.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression damaged(QStringLiteral("^(\\S+): damaged or unreadable file$"));
    static const QRegularExpression cannotOpen(QStringLiteral("^cannot open file: (.*) \\(([^()]*)\\)$"));
    static const QRegularExpression folder(QStringLiteral("^cannot read '(.*)': it is a folder$"));
    if (const auto m = looksLike.match(text); m.hasMatch())
        return Translated(
                   QT_TRANSLATE_NOOP("LibraryMessages", "Der Inhalt ist %1, lässt sich aber nicht lesen: %2"))
            .arg(m.captured(1), Reason(m.captured(2)));
    if (const auto m = damaged.match(text); m.hasMatch())
        return Translated(
                   QT_TRANSLATE_NOOP("LibraryMessages", "%1: Die Datei ist beschädigt oder nicht lesbar."))
            .arg(m.captured(1));
    if (const auto m = cannotOpen.match(text); m.hasMatch())
        return Translated(QT_TRANSLATE_NOOP("LibraryMessages", "Die Datei lässt sich nicht öffnen (%1)."))
            .arg(m.captured(2));
    if (folder.match(text).hasMatch())
        return Translated(QT_TRANSLATE_NOOP("LibraryMessages", "Das ist ein Ordner."));
    return text;
}

QString CLibraryMessages::CannotOpen(const QString& path, const QString& reason) {
    return QCoreApplication::translate("KXViewDoc", "Die Datei \"%1\" kann nicht geöffnet werden.\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}
