<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>About Vistorel SoftWare</source>
        <translation>About Vistorel SoftWare</translation>
    </message>
    <message>
        <source>Vistorel Version 6.1.4.0
Bildverarbeitung für digitale Mikroskopkameras</source>
        <translation>Vistorel Version 6.1.4.0
Image processing for digital microscope cameras</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CCaptureControl</name>
    <message>
        <source>Belichtung abgebrochen, kein Bild gespeichert</source>
        <translation>Exposure cancelled, no picture saved</translation>
    </message>
</context>
<context>
    <name>CCountdownBar</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Belichtung abbrechen, ohne ein Bild zu speichern</source>
        <translation>Cancel the exposure without saving a picture</translation>
    </message>
    <message>
        <source>Belichtung: noch %1 s</source>
        <translation>Exposure: %1 s left</translation>
    </message>
</context>
<context>
    <name>CKXViewDoc</name>
    <message>
        <source>Abgebrochen</source>
        <translation>Cancelled</translation>
    </message>
</context>
<context>
    <name>CMDIFrameWnd</name>
    <message>
        <source>Zuletzt geöffnete Datei</source>
        <translation>Recent File</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Laufende Bearbeitung abbrechen</source>
        <translation>Cancel the running operation</translation>
    </message>
    <message>
        <source>Messtabelle</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Keine Messtabelle</source>
        <translation>No results table</translation>
    </message>
</context>
<context>
    <name>CTemplateDialog</name>
    <message>
        <source>Please enter a number.</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Please enter a number between %1 and %2.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>Please enter a positive integer.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Please enter an integer.</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>Kalibrierung</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>ohne Kamera</source>
        <translation>no camera</translation>
    </message>
    <message>
        <source>Keine (Pixel)</source>
        <translation>None (pixels)</translation>
    </message>
    <message>
        <source>Gespeichert:</source>
        <translation>Stored:</translation>
    </message>
    <message>
        <source>Gezeichnete Linie von %1 px ist lang:</source>
        <translation>The drawn line of %1 px is long:</translation>
    </message>
    <message>
        <source>Pixel pro Einheit:</source>
        <translation>Pixels per unit:</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Kalibrierung %1</source>
        <translation>Calibration %1</translation>
    </message>
    <message>
        <source>Einheit:</source>
        <translation>Unit:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Für Bilder ohne Kamera (%1) speichern</source>
        <translation>Save for pictures without a camera (%1)</translation>
    </message>
    <message>
        <source>Für %1 (%2) speichern</source>
        <translation>Save for %1 (%2)</translation>
    </message>
</context>
<context>
    <name>CameraControl</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Init Camera failed</source>
        <translation>Init Camera failed</translation>
    </message>
    <message>
        <source>Eigenschaften</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Filter Eigenschaften</source>
        <translation>Filter properties</translation>
    </message>
    <message>
        <source>Eigenschaften...</source>
        <translation>Properties...</translation>
    </message>
    <message>
        <source>Wait......</source>
        <translation>Wait......</translation>
    </message>
</context>
<context>
    <name>CameraLibrary</name>
    <message>
        <source>Video Kompression</source>
        <translation>Video compression</translation>
    </message>
</context>
<context>
    <name>CameraMenu</name>
    <message>
        <source>&amp;Kamera</source>
        <translation>&amp;Camera</translation>
    </message>
    <message>
        <source>Kamera Vorschau</source>
        <translation>Camera Preview</translation>
    </message>
    <message>
        <source>Einlesen Control</source>
        <translation>Capture Control</translation>
    </message>
    <message>
        <source>Capture Picture</source>
        <translation>Capture Picture</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histogram</translation>
    </message>
</context>
<context>
    <name>CaptureConfigDialog</name>
    <message>
        <source>Capture Config</source>
        <translation>Capture Config</translation>
    </message>
    <message>
        <source>Dateiname</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>Num</translation>
    </message>
    <message>
        <source>Zeitstempel Dateiname</source>
        <translation>Time stamp in file name</translation>
    </message>
    <message>
        <source>Zaehlen:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Zeitabstand:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>(S)</source>
        <translation>(s)</translation>
    </message>
    <message>
        <source>Pfad</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>Durchsuchen</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Select a directory</source>
        <translation>Select a directory</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Please enter an integer.</translation>
    </message>
</context>
<context>
    <name>CaptureControl</name>
    <message>
        <source>Capturing Time left :%1 S</source>
        <translation>Capturing Time left :%1 S</translation>
    </message>
    <message>
        <source>In den Aufnahmeordner &quot;%1&quot; kann nicht geschrieben werden.</source>
        <translation>The capture folder &quot;%1&quot; cannot be written to.</translation>
    </message>
    <message>
        <source>Das Bild &quot;%1&quot; wurde nicht gespeichert.
%2</source>
        <translation>The picture &quot;%1&quot; was not saved.
%2</translation>
    </message>
    <message>
        <source>Gespeichert: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>Auf dem Datenträger von &quot;%1&quot; sind nur noch %2 MB frei: das Video wird nicht aufgenommen.</source>
        <translation>Only %2 MB are free on the disk of &quot;%1&quot;: the video is not recorded.</translation>
    </message>
    <message>
        <source>Das Video &quot;%1&quot; kann nicht aufgenommen werden.
%2</source>
        <translation>The video &quot;%1&quot; cannot be recorded.
%2</translation>
    </message>
    <message>
        <source>Das Video konnte nicht weiter geschrieben werden und wurde beendet.
%1</source>
        <translation>The video could not be written any further and was stopped.
%1</translation>
    </message>
    <message>
        <source>Auf dem Datenträger von &quot;%1&quot; sind nur noch %2 MB frei: die Videoaufnahme wurde beendet.</source>
        <translation>Only %2 MB are free on the disk of &quot;%1&quot;: the video recording was stopped.</translation>
    </message>
    <message>
        <source>Videoaufnahme %1:%2, %3 MB</source>
        <translation>Recording video %1:%2, %3 MB</translation>
    </message>
    <message>
        <source> - wenig Platz: noch %1 MB frei</source>
        <translation> - little space: %1 MB free</translation>
    </message>
    <message>
        <source>Nichts zusammengefügt: %1</source>
        <translation>Nothing merged: %1</translation>
    </message>
</context>
<context>
    <name>CapturePage</name>
    <message>
        <source>Kamera </source>
        <translation>Camera </translation>
    </message>
    <message>
        <source>Kamera suchen</source>
        <translation>Find Camera</translation>
    </message>
    <message>
        <source>Auflösung:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>Vorschau</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Aktualisiere Vorschau</source>
        <translation>Refresh Preview</translation>
    </message>
    <message>
        <source>Auto Weißabgleich</source>
        <translation>Auto White Balance</translation>
    </message>
    <message>
        <source>Area Weißabgleich</source>
        <translation>Area White Balance</translation>
    </message>
    <message>
        <source>Konfiguration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Belichtung</source>
        <translation>Exposure</translation>
    </message>
</context>
<context>
    <name>ColorizeDialog</name>
    <message>
        <source>Einfärben
</source>
        <translation>Colorize
</translation>
    </message>
    <message>
        <source>HSL</source>
        <translation>HSL</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>Farbton:[0~255]</source>
        <translation>Hue:[0~255]</translation>
    </message>
    <message>
        <source>Sättigung:[0~255] </source>
        <translation>Saturation:[0~255] </translation>
    </message>
    <message>
        <source>Blend:[ % ]</source>
        <translation>Blend:[ % ]</translation>
    </message>
    <message>
        <source>Rot:[-255~255]</source>
        <translation>Red:[-255~255]</translation>
    </message>
    <message>
        <source>Grün:[-255~255]</source>
        <translation>Green:[-255~255]</translation>
    </message>
    <message>
        <source>Blue:[-255~255]</source>
        <translation>Blue:[-255~255]</translation>
    </message>
    <message>
        <source>Farben...</source>
        <translation>Colors...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CombineDialog</name>
    <message>
        <source>Combine</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>Rot / H /  Y /  X channel source:</source>
        <translation>Red / H /  Y /  X channel source:</translation>
    </message>
    <message>
        <source>Grün/ S / U /  I /  Y channel source:</source>
        <translation>Green/ S / U /  I /  Y channel source:</translation>
    </message>
    <message>
        <source>Blau/ L /  V / Q /  Z channel source:</source>
        <translation>Blue/ L /  V / Q /  Z channel source:</translation>
    </message>
    <message>
        <source>Alphakanal Quelle</source>
        <translation>Alpha channel source</translation>
    </message>
    <message>
        <source>Farbraum</source>
        <translation>Color space</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Grau</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Rot</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Grün</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Blau</source>
        <translation>Blue</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Aufruf: vistorel [OPTION...] [DATEI...]
Live-Bild, Aufnahme und Bearbeitung von Bildern digitaler Mikroskopkameras.

  DATEI...               die Bilder öffnen; das letzte ist aktiv
  -p DATEI...            die Bilder auf dem Standarddrucker drucken und beenden
  --mode camera|image    nach dem Start in diesen Arbeitsmodus wechseln
  --preview              das Live-Bild der ersten Kamera starten (Kameramodus)
  --screenshot BILD.png  das Hauptfenster nach dem Start als Bild speichern und beenden
  -h, --help             diese Hilfe zeigen und beenden
  --version              die Version zeigen und beenden
  --                     alles Folgende sind Dateien, auch mit &quot;-&quot; am Anfang

Einstellungen: $XDG_CONFIG_HOME/Vistorel/Vistorel.ini
</source>
        <translation>Usage: vistorel [OPTION...] [FILE...]
Live picture, capture and editing of digital microscope camera images.

  FILE...                open the pictures; the last one is active
  -p FILE...             print the pictures on the default printer and end
  --mode camera|image    switch to this working mode after start-up
  --preview              start the first camera&apos;s live picture (camera mode)
  --screenshot PIC.png   save the main window as a picture after start-up and end
  -h, --help             show this help and end
  --version              show the version and end
  --                     everything after it is a file, even with a leading &quot;-&quot;

Settings: $XDG_CONFIG_HOME/Vistorel/Vistorel.ini
</translation>
    </message>
</context>
<context>
    <name>ComposeCommands</name>
    <message>
        <source>Schärfentiefe erweitern</source>
        <translation>Extend depth of field</translation>
    </message>
    <message>
        <source>EDF %1</source>
        <translation>EDF %1</translation>
    </message>
    <message>
        <source>EDF %1 Tiefenkarte</source>
        <translation>EDF %1 depth map</translation>
    </message>
    <message>
        <source>Bilder zusammenfügen</source>
        <translation>Stitch pictures</translation>
    </message>
    <message>
        <source>Mosaik %1</source>
        <translation>Mosaic %1</translation>
    </message>
    <message>
        <source>Nicht eingefügt (zu wenig Überlappung): %1</source>
        <translation>Not placed (too little overlap): %1</translation>
    </message>
</context>
<context>
    <name>ComposeDialog</name>
    <message>
        <source>Schärfentiefe erweitern</source>
        <translation>Extend depth of field</translation>
    </message>
    <message>
        <source>Bilder zusammenfügen</source>
        <translation>Stitch pictures</translation>
    </message>
    <message>
        <source>Bilder der Fokusreihe, in der Reihenfolge der Ebenen:</source>
        <translation>Pictures of the focus series, in the order of their planes:</translation>
    </message>
    <message>
        <source>Bilder, die zusammengefügt werden (beliebige Reihenfolge):</source>
        <translation>Pictures to stitch (any order):</translation>
    </message>
    <message>
        <source>Nach oben</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Nach unten</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Bilder ausrichten (Verschiebung, Maßstab)</source>
        <translation>Align the pictures (shift, scale)</translation>
    </message>
    <message>
        <source>Tiefenkarte als eigenes Bild</source>
        <translation>Depth map as a picture of its own</translation>
    </message>
    <message>
        <source>Spalten:</source>
        <translation>Columns:</translation>
    </message>
    <message>
        <source>beliebig</source>
        <translation>any</translation>
    </message>
    <message>
        <source>Zeilen:</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <source>Überlappung (%):</source>
        <translation>Overlap (%):</translation>
    </message>
    <message>
        <source>unbekannt</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Bitte mindestens zwei Bilder wählen.</source>
        <translation>Please choose at least two pictures.</translation>
    </message>
    <message>
        <source>Spalten und Zeilen bitte beide angeben.</source>
        <translation>Please give both columns and rows.</translation>
    </message>
    <message>
        <source>%1 x %2 Felder, aber %3 Bilder gewählt.</source>
        <translation>%1 x %2 fields, but %3 pictures chosen.</translation>
    </message>
</context>
<context>
    <name>ControlHost</name>
    <message>
        <source>Aufnahme</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Bild</source>
        <translation>Image</translation>
    </message>
</context>
<context>
    <name>DecreaseBppDialog</name>
    <message>
        <source>Reduzierung Bpp</source>
        <translation>Decrease Bpp</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Optimiert</source>
        <translation>Optimised</translation>
    </message>
    <message>
        <source> Error Diffusion</source>
        <translation> Error Diffusion</translation>
    </message>
    <message>
        <source>Limit max colors:</source>
        <translation>Limit max colors:</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DeviceWatcher</name>
    <message>
        <source>Register Camera Listen make a error, Register Fail!</source>
        <translation>Register Camera Listen make a error, Register Fail!</translation>
    </message>
</context>
<context>
    <name>DitherDialog</name>
    <message>
        <source>Dither</source>
        <translation>Dither</translation>
    </message>
    <message>
        <source>Floyd-Steinberg</source>
        <translation>Floyd-Steinberg</translation>
    </message>
    <message>
        <source>Ordered dither</source>
        <translation>Ordered dither</translation>
    </message>
    <message>
        <source>Burkes</source>
        <translation>Burkes</translation>
    </message>
    <message>
        <source>Stucki</source>
        <translation>Stucki</translation>
    </message>
    <message>
        <source>Jarvis-Judice-Ninke</source>
        <translation>Jarvis-Judice-Ninke</translation>
    </message>
    <message>
        <source>Sierra</source>
        <translation>Sierra</translation>
    </message>
    <message>
        <source>Stevenson-Arce</source>
        <translation>Stevenson-Arce</translation>
    </message>
    <message>
        <source>Bayer matrix (4x4 ordered dither)</source>
        <translation>Bayer matrix (4x4 ordered dither)</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DocumentList</name>
    <message>
        <source>(None)</source>
        <translation>(None)</translation>
    </message>
</context>
<context>
    <name>EditMenu</name>
    <message>
        <source>&amp;Editieren</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Rückgängig (Messung)</source>
        <translation>Undo (Measurement)</translation>
    </message>
    <message>
        <source>Wiederholen(Messung)</source>
        <translation>Redo (Measurement)</translation>
    </message>
    <message>
        <source>&amp;Rückgängig(Image Process)	Ctrl+Z</source>
        <translation>&amp;Undo (Image Processing)	Ctrl+Z</translation>
    </message>
    <message>
        <source>Wiederholen(Image Process)	Ctrl+Y</source>
        <translation>Redo (Image Processing)	Ctrl+Y</translation>
    </message>
    <message>
        <source>Ausschneiden	Ctrl+X</source>
        <translation>Cut	Ctrl+X</translation>
    </message>
    <message>
        <source>&amp;Kopieren	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>&amp;&amp;Einfügen	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>Duplizieren	Ctrl+D</source>
        <translation>Duplicate	Ctrl+D</translation>
    </message>
    <message>
        <source>Optionen</source>
        <translation>Options</translation>
    </message>
</context>
<context>
    <name>FFTDialog</name>
    <message>
        <source>FFT</source>
        <translation>FFT</translation>
    </message>
    <message>
        <source>Real</source>
        <translation>Real</translation>
    </message>
    <message>
        <source>Bild</source>
        <translation>Imaginary</translation>
    </message>
    <message>
        <source>Umkehr</source>
        <translation>Inverse</translation>
    </message>
    <message>
        <source>Wert berechnen</source>
        <translation>Magnitude</translation>
    </message>
    <message>
        <source>Force FFT</source>
        <translation>Force FFT</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FileMenu</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Neu	CTRL+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Öffnen</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Neues Dokument</source>
        <translation>New Document</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Speichern unter...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Ansicht exportieren...</source>
        <translation>Export View...</translation>
    </message>
    <message>
        <source>&amp;Drucken...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>Seitenansicht</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Seite einrichten</source>
        <translation>Page Setup</translation>
    </message>
    <message>
        <source>Zuletzt geöffnete Datei</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>&amp;Alle schließen</source>
        <translation>Close &amp;All</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>FiltersMenu</name>
    <message>
        <source>Filters(&amp;L)</source>
        <translation>Fi&amp;lters</translation>
    </message>
    <message>
        <source>Verwischen</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Weichzeichnen</source>
        <translation>Soften</translation>
    </message>
    <message>
        <source>Gauss 3x3</source>
        <translation>Gauss 3x3</translation>
    </message>
    <message>
        <source>Gauss 5x5</source>
        <translation>Gauss 5x5</translation>
    </message>
    <message>
        <source>Schärfen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Kante</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>Ausarbeiten</source>
        <translation>Emboss</translation>
    </message>
    <message>
        <source>Rauschen hinzufügen</source>
        <translation>Add Noise</translation>
    </message>
    <message>
        <source>Median</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>Erodieren</source>
        <translation>Erode</translation>
    </message>
    <message>
        <source>Erweitern</source>
        <translation>Dilate</translation>
    </message>
    <message>
        <source>Konturen</source>
        <translation>Contour</translation>
    </message>
    <message>
        <source>Kanten</source>
        <translation>Edges</translation>
    </message>
    <message>
        <source>Bildschwankungen</source>
        <translation>Jitter</translation>
    </message>
    <message>
        <source>Kreis umformen</source>
        <translation>Circle Transform</translation>
    </message>
    <message>
        <source>Quetschen</source>
        <translation>Pinch</translation>
    </message>
    <message>
        <source>Dehnen</source>
        <translation>Punch</translation>
    </message>
    <message>
        <source>Drehen</source>
        <translation>Swirl</translation>
    </message>
    <message>
        <source>Zylinder</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>Badezimmer</source>
        <translation>Bathroom</translation>
    </message>
</context>
<context>
    <name>FluorescenceMenu</name>
    <message>
        <source>Fluorescence(&amp;U)</source>
        <translation>Fl&amp;uorescence</translation>
    </message>
    <message>
        <source>Weißabgleich</source>
        <translation>White Balance</translation>
    </message>
    <message>
        <source>Wiederherstellen...</source>
        <translation>Repair...</translation>
    </message>
</context>
<context>
    <name>GammaDialog</name>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Korrektur</source>
        <translation>Correction</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>GradientProgress</name>
    <message>
        <source>Complete </source>
        <translation>Complete </translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;About Vistorel...</source>
        <translation>&amp;About Vistorel...</translation>
    </message>
</context>
<context>
    <name>HistogramBar</name>
    <message>
        <source>log</source>
        <translation>log</translation>
    </message>
    <message>
        <source>gray</source>
        <translation>gray</translation>
    </message>
    <message>
        <source>Geclippt 0:  </source>
        <translation>Clipped 0:   </translation>
    </message>
    <message>
        <source>Geclippt 255:</source>
        <translation>Clipped 255: </translation>
    </message>
</context>
<context>
    <name>ImageBrowser</name>
    <message>
        <source>&lt;&lt;</source>
        <translation>&lt;&lt;</translation>
    </message>
    <message>
        <source>&gt;&gt;</source>
        <translation>&gt;&gt;</translation>
    </message>
    <message>
        <source>Bild öffnen
</source>
        <translation>Open Picture
</translation>
    </message>
    <message>
        <source>Filename is blank, please check it !</source>
        <translation>Filename is blank, please check it !</translation>
    </message>
</context>
<context>
    <name>ImageFileDialog</name>
    <message>
        <source>Supported files</source>
        <translation>Supported files</translation>
    </message>
    <message>
        <source> files</source>
        <translation> files</translation>
    </message>
    <message>
        <source>Open image file</source>
        <translation>Open image file</translation>
    </message>
    <message>
        <source>Save image file</source>
        <translation>Save image file</translation>
    </message>
</context>
<context>
    <name>ImageMenu</name>
    <message>
        <source>&amp;Bildbearbeitung</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>Spiegeln</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>Drehen</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>Drehen links</source>
        <translation>Rotate Left</translation>
    </message>
    <message>
        <source>Drehen rechts</source>
        <translation>Rotate Right</translation>
    </message>
    <message>
        <source>Drehen...</source>
        <translation>Rotate...</translation>
    </message>
    <message>
        <source>Resample...</source>
        <translation>Resample...</translation>
    </message>
    <message>
        <source>Skew...</source>
        <translation>Skew...</translation>
    </message>
    <message>
        <source>Crop</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Ellipse umformen</source>
        <translation>Ellipse Transform</translation>
    </message>
    <message>
        <source>Schärfentiefe erweitern...</source>
        <translation>Extend Depth of Field...</translation>
    </message>
    <message>
        <source>Bilder zusammenfügen...</source>
        <translation>Stitch Pictures...</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Grau Anzeige</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>Pseudo Farben</source>
        <translation>Pseudo Colors</translation>
    </message>
    <message>
        <source>Reduzierung Bpp</source>
        <translation>Decrease Bpp</translation>
    </message>
    <message>
        <source>Erhöhen Bpp</source>
        <translation>Increase Bpp</translation>
    </message>
    <message>
        <source>Dither...</source>
        <translation>Dither...</translation>
    </message>
    <message>
        <source>Schwelle...</source>
        <translation>Threshold...</translation>
    </message>
    <message>
        <source>Helligkeit</source>
        <translation>Lighten</translation>
    </message>
    <message>
        <source>Verdunkeln</source>
        <translation>Darken</translation>
    </message>
    <message>
        <source>Kontrast erhöhen</source>
        <translation>Increase Contrast</translation>
    </message>
    <message>
        <source>Kontrast verringern</source>
        <translation>Decrease Contrast</translation>
    </message>
    <message>
        <source>Anwender Helligkeit</source>
        <translation>Custom Brightness</translation>
    </message>
    <message>
        <source>Anwender Kontrast</source>
        <translation>Custom Contrast</translation>
    </message>
    <message>
        <source>Gamma...</source>
        <translation>Gamma...</translation>
    </message>
    <message>
        <source>Colorize...</source>
        <translation>Colorize...</translation>
    </message>
    <message>
        <source>Histogramm</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>Strecken</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>Entzerren</source>
        <translation>Equalize</translation>
    </message>
    <message>
        <source>Normalize</source>
        <translation>Normalize</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Root</translation>
    </message>
    <message>
        <source>Farbraum</source>
        <translation>Color Space</translation>
    </message>
    <message>
        <source>Umwandeln nach RGB</source>
        <translation>Convert to RGB</translation>
    </message>
    <message>
        <source>Umwandeln nach YUV</source>
        <translation>Convert to YUV</translation>
    </message>
    <message>
        <source>Umwandeln nach HSL</source>
        <translation>Convert to HSL</translation>
    </message>
    <message>
        <source>Umwandeln nach YIQ</source>
        <translation>Convert to YIQ</translation>
    </message>
    <message>
        <source>Umwandeln nach XYZ</source>
        <translation>Convert to XYZ</translation>
    </message>
    <message>
        <source>Umwandeln nach CMYK</source>
        <translation>Convert to CMYK</translation>
    </message>
    <message>
        <source>Alphakanal</source>
        <translation>Alpha Channel</translation>
    </message>
    <message>
        <source>Deckkraft...</source>
        <translation>Opacity...</translation>
    </message>
    <message>
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Vertauschen</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>Umschalten Alpha Palette</source>
        <translation>Toggle Alpha Palette</translation>
    </message>
    <message>
        <source>Streifen</source>
        <translation>Strip</translation>
    </message>
    <message>
        <source>Erstellen Helligkeit</source>
        <translation>Create from Lightness</translation>
    </message>
    <message>
        <source>Farbe Umwandeln</source>
        <translation>Split Color</translation>
    </message>
    <message>
        <source>Transparenz</source>
        <translation>Transparency</translation>
    </message>
    <message>
        <source>Einstellen Transparenz</source>
        <translation>Set Transparency</translation>
    </message>
    <message>
        <source>Entfernen Transparenz</source>
        <translation>Remove Transparency</translation>
    </message>
    <message>
        <source>Kombinieren ...</source>
        <translation>Combine...</translation>
    </message>
    <message>
        <source>FFT...</source>
        <translation>FFT...</translation>
    </message>
    <message>
        <source>Mix ...</source>
        <translation>Mix...</translation>
    </message>
    <message>
        <source>JPEG Kompresion...</source>
        <translation>JPEG Compression...</translation>
    </message>
</context>
<context>
    <name>ImagePrinter</name>
    <message>
        <source>Das Dokument enthält kein Bild.</source>
        <translation>The document holds no picture.</translation>
    </message>
    <message>
        <source>Der Drucker nimmt keinen Auftrag an.</source>
        <translation>The printer accepts no job.</translation>
    </message>
    <message>
        <source>Der Druckauftrag wurde abgebrochen.</source>
        <translation>The print job was cancelled.</translation>
    </message>
</context>
<context>
    <name>ImageProcPage</name>
    <message>
        <source>Crop</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Resample...</source>
        <translation>Resample...</translation>
    </message>
    <message>
        <source>Spiegeln</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>Drehen</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>Drehen links</source>
        <translation>Rotate Left</translation>
    </message>
    <message>
        <source>Drehen rechts</source>
        <translation>Rotate Right</translation>
    </message>
    <message>
        <source>Drehen...</source>
        <translation>Rotate...</translation>
    </message>
    <message>
        <source>Wiederherstellen...</source>
        <translation>Repair...</translation>
    </message>
    <message>
        <source>Schärfen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Verwischen</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Beleuchtung</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Kontrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Fluorescence</source>
        <translation>Fluorescence</translation>
    </message>
    <message>
        <source>Gamma...</source>
        <translation>Gamma...</translation>
    </message>
    <message>
        <source>Colorize...</source>
        <translation>Colorize...</translation>
    </message>
    <message>
        <source>Mix...</source>
        <translation>Mix...</translation>
    </message>
    <message>
        <source>Combine...</source>
        <translation>Combine...</translation>
    </message>
</context>
<context>
    <name>IncreaseBppDialog</name>
    <message>
        <source>Erhöhen Bpp</source>
        <translation>Increase Bpp</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>JpegCompressionDialog</name>
    <message>
        <source>JPEG compression</source>
        <translation>JPEG compression</translation>
    </message>
    <message>
        <source>Level [0...255]</source>
        <translation>Level [0...255]</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Jpeg standard (JPG)</source>
        <translation>Jpeg standard (JPG)</translation>
    </message>
    <message>
        <source>Jpeg 2000 (JPC, JP2)</source>
        <translation>Jpeg 2000 (JPC, JP2)</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KXViewApp</name>
    <message>
        <source>Kein Drucker eingerichtet: nichts wurde gedruckt.</source>
        <translation>No printer set up: nothing was printed.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; wurde nicht gedruckt:
%2</source>
        <translation>&quot;%1&quot; was not printed:
%2</translation>
    </message>
</context>
<context>
    <name>KXViewDoc</name>
    <message>
        <source>Undo (%1)	Ctrl+Z</source>
        <translation>Undo (%1)	Ctrl+Z</translation>
    </message>
    <message>
        <source>Die Datei existiert nicht.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>Das ist ein Ordner.</source>
        <translation>This is a folder.</translation>
    </message>
    <message>
        <source>Die Datei darf nicht gelesen werden.</source>
        <translation>The file may not be read.</translation>
    </message>
    <message>
        <source>Das Dateiformat wird nicht erkannt.</source>
        <translation>The file format is not recognised.</translation>
    </message>
    <message>
        <source>Datei unvollständig: &quot;%1&quot;
Gezeigt wird nur, was die Datei enthält.</source>
        <translation>File incomplete: &quot;%1&quot;
Only what the file holds is shown.</translation>
    </message>
    <message>
        <source>File with %1 images. Read all?</source>
        <translation>File with %1 images. Read all?</translation>
    </message>
    <message>
        <source>Not enough memory to keep an undo step.</source>
        <translation>Not enough memory to keep an undo step.</translation>
    </message>
    <message>
        <source>Not enough memory to undo.</source>
        <translation>Not enough memory to undo.</translation>
    </message>
    <message>
        <source>Not enough memory to redo.</source>
        <translation>Not enough memory to redo.</translation>
    </message>
    <message>
        <source>Time (s): %1</source>
        <translation>Time (s): %1</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>the file could not be written</translation>
    </message>
    <message>
        <source>the document holds no picture</source>
        <translation>the document holds no picture</translation>
    </message>
    <message>
        <source>no format that can be written is named by the file&apos;s extension</source>
        <translation>no format that can be written is named by the file&apos;s extension</translation>
    </message>
    <message>
        <source>the measurements could not be written: %1</source>
        <translation>the measurements could not be written: %1</translation>
    </message>
    <message>
        <source>the view shows no picture</source>
        <translation>the view shows no picture</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; wurde nicht geschrieben.
%2</source>
        <translation>The file &quot;%1&quot; was not written.
%2</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; wurde nicht gespeichert.
%2</source>
        <translation>The file &quot;%1&quot; was not saved.
%2</translation>
    </message>
    <message>
        <source>Sollen die Änderungen an &quot;%1&quot; gespeichert werden?</source>
        <translation>Save the changes to &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Nicht speichern</source>
        <translation>&amp;Don&apos;t save</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Copy %1 of %2</source>
        <translation>Copy %1 of %2</translation>
    </message>
    <message>
        <source>Unable to set Clipboard data</source>
        <translation>Unable to set Clipboard data</translation>
    </message>
    <message>
        <source>Not enough memory for the changed picture.</source>
        <translation>Not enough memory for the changed picture.</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; kann nicht geöffnet werden.
%2</source>
        <translation>The file &quot;%1&quot; cannot be opened.
%2</translation>
    </message>
</context>
<context>
    <name>KXViewView</name>
    <message>
        <source>Das Dokument enthält kein Bild.</source>
        <translation>The document holds no picture.</translation>
    </message>
    <message>
        <source>Nicht gedruckt:
%1</source>
        <translation>Not printed:
%1</translation>
    </message>
</context>
<context>
    <name>LibraryMessages</name>
    <message>
        <source>Das Dateiformat ist unbekannt oder passt nicht zum Inhalt.</source>
        <translation>The file format is unknown or does not match the content.</translation>
    </message>
    <message>
        <source>Die Datei ist beschädigt oder nicht lesbar.</source>
        <translation>The file is damaged or unreadable.</translation>
    </message>
    <message>
        <source>Nicht genug Arbeitsspeicher.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>Das Bild ist größer, als das Programm Speicher für ein Bild nimmt.</source>
        <translation>The picture is larger than the memory the program takes for one picture.</translation>
    </message>
    <message>
        <source>Die Datei endet zu früh.</source>
        <translation>The file ends too early.</translation>
    </message>
    <message>
        <source>Die Bilddaten lassen sich nicht entschlüsseln.</source>
        <translation>The image data cannot be decoded.</translation>
    </message>
    <message>
        <source>Der Rest des Bildes lässt sich nicht lesen.</source>
        <translation>The rest of the picture cannot be read.</translation>
    </message>
    <message>
        <source>Keine BMP-Datei.</source>
        <translation>Not a BMP file.</translation>
    </message>
    <message>
        <source>Der Kopf der BMP-Datei ist nicht lesbar.</source>
        <translation>The BMP header cannot be read.</translation>
    </message>
    <message>
        <source>Keine JPEG-Datei.</source>
        <translation>Not a JPEG file.</translation>
    </message>
    <message>
        <source>Die JPEG-Datei enthält kein Bild.</source>
        <translation>The JPEG file holds no picture.</translation>
    </message>
    <message>
        <source>Die JPEG-Datei hat zu viele Abschnitte.</source>
        <translation>The JPEG file has too many sections.</translation>
    </message>
    <message>
        <source>JPEG: mehr als 1000 Durchläufe, als schädliche Datei abgelehnt.</source>
        <translation>JPEG: more than 1000 scans, refused as a hostile file.</translation>
    </message>
    <message>
        <source>PNG: Die Datei endet zu früh.</source>
        <translation>PNG: the file ends too early.</translation>
    </message>
    <message>
        <source>PNG: Zu wenig Bilddaten.</source>
        <translation>PNG: not enough image data.</translation>
    </message>
    <message>
        <source>PNG: Ein Block reicht über das Dateiende hinaus.</source>
        <translation>PNG: a chunk runs past the end of the file.</translation>
    </message>
    <message>
        <source>PNG: Eine Blocklänge ist ungültig.</source>
        <translation>PNG: a chunk length is out of range.</translation>
    </message>
    <message>
        <source>PNG: Ungültiger Blocktyp.</source>
        <translation>PNG: invalid chunk type.</translation>
    </message>
    <message>
        <source>PNG: Bilddaten fehlen.</source>
        <translation>PNG: the image data is missing.</translation>
    </message>
    <message>
        <source>PNG: Ein zweiter Bildkopf (IHDR).</source>
        <translation>PNG: a second image header (IHDR).</translation>
    </message>
    <message>
        <source>PNG: Ungültiger Filtertyp in den Bilddaten.</source>
        <translation>PNG: bad filter type in the image data.</translation>
    </message>
    <message>
        <source>PNG: Die Prüfsumme (Adler-32) der Bilddaten stimmt nicht.</source>
        <translation>PNG: the image data fails its checksum (Adler-32).</translation>
    </message>
    <message>
        <source>PNG: Die Bilddaten haben einen ungültigen zlib-Kopf.</source>
        <translation>PNG: the image data has a bad zlib header.</translation>
    </message>
    <message>
        <source>PNG: Die Bilddaten sind beschädigt (inflate).</source>
        <translation>PNG: the image data is damaged (inflate).</translation>
    </message>
    <message>
        <source>PNG: Nicht genug Arbeitsspeicher.</source>
        <translation>PNG: not enough memory.</translation>
    </message>
    <message>
        <source>Keine GIF-Datei.</source>
        <translation>Not a GIF file.</translation>
    </message>
    <message>
        <source>Die GIF-Datei enthält kein Bild.</source>
        <translation>The GIF file holds no picture.</translation>
    </message>
    <message>
        <source>Die GIF-Datei endet vor ihren Bilddaten.</source>
        <translation>The GIF file ends before its image data.</translation>
    </message>
    <message>
        <source>Die GIF-Datei endet vor dem Bild.</source>
        <translation>The GIF file ends before the picture.</translation>
    </message>
    <message>
        <source>Die GIF-Datei endet in einer Bildbeschreibung.</source>
        <translation>The GIF file ends inside an image descriptor.</translation>
    </message>
    <message>
        <source>Die GIF-Datei endet in ihrer Farbtabelle.</source>
        <translation>The GIF file ends inside its colour table.</translation>
    </message>
    <message>
        <source>Das GIF-Bild hat die Größe 0.</source>
        <translation>The GIF picture has size 0.</translation>
    </message>
    <message>
        <source>Die TIFF-Datei ist beschädigt.</source>
        <translation>The TIFF file is damaged.</translation>
    </message>
    <message>
        <source>Die gekachelte TIFF-Datei ist beschädigt.</source>
        <translation>The tiled TIFF file is damaged.</translation>
    </message>
    <message>
        <source>Die TIFF-Datei lässt sich nicht öffnen.</source>
        <translation>The TIFF file cannot be opened.</translation>
    </message>
    <message>
        <source>Die Seite fehlt in der TIFF-Datei.</source>
        <translation>The page is missing from the TIFF file.</translation>
    </message>
    <message>
        <source>Die TIFF-Datei enthält keine Bilder.</source>
        <translation>The TIFF file holds no pictures.</translation>
    </message>
    <message>
        <source>Keine TGA-Datei.</source>
        <translation>Not a TGA file.</translation>
    </message>
    <message>
        <source>Ungültiger TGA-Kopf.</source>
        <translation>Bad TGA header.</translation>
    </message>
    <message>
        <source>Die TGA-Datei ist beschädigt.</source>
        <translation>The TGA file is damaged.</translation>
    </message>
    <message>
        <source>Unbekannter TGA-Bildtyp.</source>
        <translation>Unknown TGA image type.</translation>
    </message>
    <message>
        <source>Keine PCX-Datei.</source>
        <translation>Not a PCX file.</translation>
    </message>
    <message>
        <source>Die PCX-Datei ist beschädigt.</source>
        <translation>The PCX file is damaged.</translation>
    </message>
    <message>
        <source>Keine ICO-Datei.</source>
        <translation>Not an ICO file.</translation>
    </message>
    <message>
        <source>Keine WBMP-Datei.</source>
        <translation>Not a WBMP file.</translation>
    </message>
    <message>
        <source>Die WBMP-Datei ist beschädigt.</source>
        <translation>The WBMP file is damaged.</translation>
    </message>
    <message>
        <source>Die WMF-Datei ist beschädigt.</source>
        <translation>The WMF file is damaged.</translation>
    </message>
    <message>
        <source>Die WMF-Datei ist leer.</source>
        <translation>The WMF file is empty.</translation>
    </message>
    <message>
        <source>JPEG 2000: Ungültiger Kopf.</source>
        <translation>JPEG 2000: bad header.</translation>
    </message>
    <message>
        <source>JPEG 2000: Der Datenstrom lässt sich nicht entschlüsseln.</source>
        <translation>JPEG 2000: the code stream cannot be decoded.</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben.</source>
        <translation>Write error.</translation>
    </message>
    <message>
        <source>Dieses Format kann nicht geschrieben werden.</source>
        <translation>This format cannot be written.</translation>
    </message>
    <message>
        <source>Nur Farb- (RGB) oder Graubilder lassen sich so speichern.</source>
        <translation>Only colour (RGB) or grey pictures can be saved this way.</translation>
    </message>
    <message>
        <source>JPEG speichert nur Farb- (RGB) oder Graubilder.</source>
        <translation>JPEG saves only colour (RGB) or grey pictures.</translation>
    </message>
    <message>
        <source>Der Inhalt ist %1, lässt sich aber nicht lesen: %2</source>
        <translation>The content is %1 but cannot be read: %2</translation>
    </message>
    <message>
        <source>%1: Die Datei ist beschädigt oder nicht lesbar.</source>
        <translation>%1: the file is damaged or unreadable.</translation>
    </message>
    <message>
        <source>Die Datei lässt sich nicht öffnen (%1).</source>
        <translation>The file cannot be opened (%1).</translation>
    </message>
    <message>
        <source>Das ist ein Ordner.</source>
        <translation>This is a folder.</translation>
    </message>
    <message>
        <source>PNG: Prüfsummenfehler (CRC) in den Bilddaten.</source>
        <translation>PNG: CRC error in the image data.</translation>
    </message>
    <message>
        <source>PNG: Prüfsummenfehler (CRC) in einem Block nach den Bilddaten.</source>
        <translation>PNG: CRC error in a chunk after the image data.</translation>
    </message>
</context>
<context>
    <name>LightContrastDialog</name>
    <message>
        <source>Lighten value(-100~100):</source>
        <translation>Lighten value(-100~100):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Kontrast einstellen...</source>
        <translation>Adjust contrast...</translation>
    </message>
    <message>
        <source>Erhellen einstellen ...</source>
        <translation>Adjust brightness ...</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Clipboard Image %1</source>
        <translation>Clipboard Image %1</translation>
    </message>
</context>
<context>
    <name>MeasureManager</name>
    <message>
        <source>Linienfarbe</source>
        <translation>Line colour</translation>
    </message>
    <message>
        <source>Textfarbe</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>Füllfarbe</source>
        <translation>Fill colour</translation>
    </message>
    <message>
        <source>Messdaten nicht gespeichert:
%1</source>
        <translation>Measurements not saved:
%1</translation>
    </message>
    <message>
        <source>Messdaten nicht geöffnet:
%1</source>
        <translation>Measurements not opened:
%1</translation>
    </message>
</context>
<context>
    <name>MeasureMenu</name>
    <message>
        <source>&amp;Messen</source>
        <translation>&amp;Measure</translation>
    </message>
    <message>
        <source>Auswählen</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Linie</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Rechteck</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Kreis</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Polygon</source>
        <translation>Polygon</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Punkt</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>Beschriftung</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Kalibrierung...</source>
        <translation>Calibration...</translation>
    </message>
    <message>
        <source>Messtabelle</source>
        <translation>Results Table</translation>
    </message>
    <message>
        <source>Maßstab</source>
        <translation>Scale Bar</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>50%</source>
        <translation>50%</translation>
    </message>
    <message>
        <source>75%</source>
        <translation>75%</translation>
    </message>
    <message>
        <source>100%</source>
        <translation>100%</translation>
    </message>
    <message>
        <source>150%</source>
        <translation>150%</translation>
    </message>
    <message>
        <source>200%</source>
        <translation>200%</translation>
    </message>
    <message>
        <source>Farben</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>Linienfarbe...</source>
        <translation>Line Color...</translation>
    </message>
    <message>
        <source>Textfarbe...</source>
        <translation>Text Color...</translation>
    </message>
    <message>
        <source>Füllfarbe...</source>
        <translation>Fill Color...</translation>
    </message>
    <message>
        <source>Linienstärke</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>1 Punkt</source>
        <translation>1 Point</translation>
    </message>
    <message>
        <source>2 Punkte</source>
        <translation>2 Points</translation>
    </message>
    <message>
        <source>3 Punkte</source>
        <translation>3 Points</translation>
    </message>
    <message>
        <source>5 Punkte</source>
        <translation>5 Points</translation>
    </message>
    <message>
        <source>Schrift...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Alles löschen</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>Messdaten speichern</source>
        <translation>Save Measurements</translation>
    </message>
    <message>
        <source>Messdaten öffnen</source>
        <translation>Open Measurements</translation>
    </message>
    <message>
        <source>Linienprofil</source>
        <translation>Line Profile</translation>
    </message>
</context>
<context>
    <name>MeasureObject</name>
    <message>
        <source>Linie</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Rechteck</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Kreis</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Polygon</source>
        <translation>Polygon</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Punkt</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>Beschriftung</source>
        <translation>Label</translation>
    </message>
</context>
<context>
    <name>MeasurePrompts</name>
    <message>
        <source>Beschriftung</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Schrift</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Messdaten speichern</source>
        <translation>Save measurements</translation>
    </message>
    <message>
        <source>Messdaten (*.json);;Alle Dateien (*)</source>
        <translation>Measurements (*.json);;All files (*)</translation>
    </message>
    <message>
        <source>Messdaten öffnen</source>
        <translation>Open measurements</translation>
    </message>
    <message>
        <source>Messen</source>
        <translation>Measure</translation>
    </message>
</context>
<context>
    <name>MixDialog</name>
    <message>
        <source>Mix</source>
        <translation>Mix</translation>
    </message>
    <message>
        <source>Dst:</source>
        <translation>Dst:</translation>
    </message>
    <message>
        <source>Ursprung</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>OpType :</source>
        <translation>OpType :</translation>
    </message>
    <message>
        <source>Einstellungen Quelle</source>
        <translation>Source settings</translation>
    </message>
    <message>
        <source>X Offset :</source>
        <translation>X Offset :</translation>
    </message>
    <message>
        <source>Y Offset:</source>
        <translation>Y Offset:</translation>
    </message>
    <message>
        <source>Mix alpha channel</source>
        <translation>Mix alpha channel</translation>
    </message>
    <message>
        <source>Erw. Vorschau</source>
        <translation>Ext. Preview</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OpacityDialog</name>
    <message>
        <source>Opacity</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>Level [0...255]</source>
        <translation>Level [0...255]</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Optionen</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>JPEG quality[0...100]</source>
        <translation>JPEG quality[0...100]</translation>
    </message>
    <message>
        <source>X Auflösung [DPI]</source>
        <translation>X resolution [DPI]</translation>
    </message>
    <message>
        <source>Y Auflösung [DPI]</source>
        <translation>Y resolution [DPI]</translation>
    </message>
    <message>
        <source>TIFF Kompression</source>
        <translation>TIFF compression</translation>
    </message>
    <message>
        <source>Grundeinstellung : auto</source>
        <translation>Default : auto</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>RLE</source>
        <translation>RLE</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Packbits</source>
        <translation>Packbits</translation>
    </message>
    <message>
        <source>Jpeg</source>
        <translation>Jpeg</translation>
    </message>
    <message>
        <source>LZW</source>
        <translation>LZW</translation>
    </message>
    <message>
        <source>GIF Kompression</source>
        <translation>GIF compression</translation>
    </message>
    <message>
        <source>Grundeinstellung : LZW</source>
        <translation>Default : LZW</translation>
    </message>
    <message>
        <source>Kein</source>
        <translation>None</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>Grundeinstellung:not interlaced</source>
        <translation>Default:not interlaced</translation>
    </message>
    <message>
        <source>interlaced</source>
        <translation>interlaced</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG</translation>
    </message>
    <message>
        <source>Grundeinstellung : baseline</source>
        <translation>Default : baseline</translation>
    </message>
    <message>
        <source>progressive</source>
        <translation>progressive</translation>
    </message>
    <message>
        <source>Optimieren</source>
        <translation>Optimize</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>EXIF...</translation>
    </message>
</context>
<context>
    <name>PageCapture</name>
    <message>
        <source>Vorschau Starten</source>
        <translation>Start Preview</translation>
    </message>
    <message>
        <source>Vorschau Stoppen</source>
        <translation>Stop Preview</translation>
    </message>
</context>
<context>
    <name>PaletteDialog</name>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Laden</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Sichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Optionen laden</source>
        <translation>Load options</translation>
    </message>
    <message>
        <source>Maintain indexes</source>
        <translation>Maintain indexes</translation>
    </message>
    <message>
        <source>Nearest color matching</source>
        <translation>Nearest color matching</translation>
    </message>
    <message>
        <source>Error diffusion dithering</source>
        <translation>Error diffusion dithering</translation>
    </message>
    <message>
        <source>Alpha Komponeten editieren</source>
        <translation>Edit alpha components</translation>
    </message>
    <message>
        <source> I = 0, RGBA = (0,0,0,0)</source>
        <translation> I = 0, RGBA = (0,0,0,0)</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Die Palette wurde nicht in &quot;%1&quot; gespeichert.</source>
        <translation>The palette was not saved in &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>PaletteFile</name>
    <message>
        <source>Unknown contents!</source>
        <translation>Unknown contents!</translation>
    </message>
    <message>
        <source>Too much colors!</source>
        <translation>Too much colors!</translation>
    </message>
    <message>
        <source>Warning: numcolors doesn&apos;t match</source>
        <translation>Warning: numcolors doesn&apos;t match</translation>
    </message>
</context>
<context>
    <name>PreviewMeasure</name>
    <message>
        <source>Auswählen</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Linie messen</source>
        <translation>Measure line</translation>
    </message>
    <message>
        <source>Rechteck messen</source>
        <translation>Measure rectangle</translation>
    </message>
    <message>
        <source>Maßstab</source>
        <translation>Scale bar</translation>
    </message>
    <message>
        <source>Kalibrierung...</source>
        <translation>Calibration...</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Alles löschen</source>
        <translation>Delete all</translation>
    </message>
</context>
<context>
    <name>ProcessingCommands</name>
    <message>
        <source>Red Channel %1 from %2</source>
        <translation>Red Channel %1 from %2</translation>
    </message>
    <message>
        <source>Green Channel %1 from %2</source>
        <translation>Green Channel %1 from %2</translation>
    </message>
    <message>
        <source>Blue Channel %1 from %2</source>
        <translation>Blue Channel %1 from %2</translation>
    </message>
    <message>
        <source>Y Channel %1 from %2</source>
        <translation>Y Channel %1 from %2</translation>
    </message>
    <message>
        <source>U Channel %1 from %2</source>
        <translation>U Channel %1 from %2</translation>
    </message>
    <message>
        <source>V Channel %1 from %2</source>
        <translation>V Channel %1 from %2</translation>
    </message>
    <message>
        <source>Hue Channel %1 from %2</source>
        <translation>Hue Channel %1 from %2</translation>
    </message>
    <message>
        <source>Saturation Channel %1 from %2</source>
        <translation>Saturation Channel %1 from %2</translation>
    </message>
    <message>
        <source>Lightness Channel %1 from %2</source>
        <translation>Lightness Channel %1 from %2</translation>
    </message>
    <message>
        <source>I Channel %1 from %2</source>
        <translation>I Channel %1 from %2</translation>
    </message>
    <message>
        <source>Q Channel %1 from %2</source>
        <translation>Q Channel %1 from %2</translation>
    </message>
    <message>
        <source>X Channel %1 from %2</source>
        <translation>X Channel %1 from %2</translation>
    </message>
    <message>
        <source>Z Channel %1 from %2</source>
        <translation>Z Channel %1 from %2</translation>
    </message>
    <message>
        <source>C Channel %1 from %2</source>
        <translation>C Channel %1 from %2</translation>
    </message>
    <message>
        <source>M Channel %1 from %2</source>
        <translation>M Channel %1 from %2</translation>
    </message>
    <message>
        <source>K Channel %1 from %2</source>
        <translation>K Channel %1 from %2</translation>
    </message>
    <message>
        <source>Not enough memory for the new picture.</source>
        <translation>Not enough memory for the new picture.</translation>
    </message>
    <message>
        <source>The channels cannot be split.</source>
        <translation>The channels cannot be split.</translation>
    </message>
    <message>
        <source>The alpha channel cannot be split.</source>
        <translation>The alpha channel cannot be split.</translation>
    </message>
    <message>
        <source>Alpha Channel %1 from %2</source>
        <translation>Alpha Channel %1 from %2</translation>
    </message>
    <message>
        <source>NewImage%1</source>
        <translation>NewImage%1</translation>
    </message>
    <message>
        <source>The channels cannot be combined.</source>
        <translation>The channels cannot be combined.</translation>
    </message>
    <message>
        <source>FFT Phase %1</source>
        <translation>FFT Phase %1</translation>
    </message>
    <message>
        <source>FFT Imag %1</source>
        <translation>FFT Imag %1</translation>
    </message>
    <message>
        <source>FFT Magnitude %1</source>
        <translation>FFT Magnitude %1</translation>
    </message>
    <message>
        <source>FFT Real %1</source>
        <translation>FFT Real %1</translation>
    </message>
    <message>
        <source>The Fourier transform failed.</source>
        <translation>The Fourier transform failed.</translation>
    </message>
    <message>
        <source>Mix %1</source>
        <translation>Mix %1</translation>
    </message>
    <message>
        <source>The pictures cannot be mixed.</source>
        <translation>The pictures cannot be mixed.</translation>
    </message>
    <message>
        <source>Jpeg compr. %1, q = %2, size = %3</source>
        <translation>Jpeg compr. %1, q = %2, size = %3</translation>
    </message>
    <message>
        <source>The picture cannot be compressed.</source>
        <translation>The picture cannot be compressed.</translation>
    </message>
</context>
<context>
    <name>Quantity</name>
    <message>
        <source>Länge</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Breite</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Höhe</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Durchmesser</source>
        <translation>Diameter</translation>
    </message>
    <message>
        <source>Durchmesser X</source>
        <translation>Diameter X</translation>
    </message>
    <message>
        <source>Durchmesser Y</source>
        <translation>Diameter Y</translation>
    </message>
    <message>
        <source>Fläche</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Umfang</source>
        <translation>Perimeter</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Mittelwert</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Standardabweichung</source>
        <translation>StdDev</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>IntDen</source>
        <translation>IntDen</translation>
    </message>
    <message>
        <source>RawIntDen</source>
        <translation>RawIntDen</translation>
    </message>
</context>
<context>
    <name>RepairDialog</name>
    <message>
        <source>Wiederherstellen</source>
        <translation>Repair</translation>
    </message>
    <message>
        <source>Farbraum</source>
        <translation>Colour space</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Wiederholen</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ResampleDialog</name>
    <message>
        <source>Resample</source>
        <translation>Resample</translation>
    </message>
    <message>
        <source>Size factor</source>
        <translation>Size factor</translation>
    </message>
    <message>
        <source>Pixel Width x Height</source>
        <translation>Pixel Width x Height</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>Maintain original aspect ratio</source>
        <translation>Maintain original aspect ratio</translation>
    </message>
    <message>
        <source>Interpolation:</source>
        <translation>Interpolation:</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nearest neighbour</source>
        <translation>Nearest neighbour</translation>
    </message>
    <message>
        <source>Bilinear (pixel corner)</source>
        <translation>Bilinear (pixel corner)</translation>
    </message>
    <message>
        <source>Bilinear 2 (pixel center)</source>
        <translation>Bilinear 2 (pixel center)</translation>
    </message>
    <message>
        <source>Bicubic (hard)</source>
        <translation>Bicubic (hard)</translation>
    </message>
    <message>
        <source>Bicubic 2 (soft)</source>
        <translation>Bicubic 2 (soft)</translation>
    </message>
    <message>
        <source>BSpline (blur)</source>
        <translation>BSpline (blur)</translation>
    </message>
    <message>
        <source>Lanzcos (sharp)</source>
        <translation>Lanzcos (sharp)</translation>
    </message>
    <message>
        <source>Hermite</source>
        <translation>Hermite</translation>
    </message>
</context>
<context>
    <name>RotateDialog</name>
    <message>
        <source>Drehen</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Winkel (Grad)</source>
        <translation>Angle (degrees)</translation>
    </message>
    <message>
        <source>Interpolation method</source>
        <translation>Interpolation method</translation>
    </message>
    <message>
        <source>Overflow method</source>
        <translation>Overflow method</translation>
    </message>
    <message>
        <source>Originalgröße</source>
        <translation>Keep original size</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nearest neighbour</source>
        <translation>Nearest neighbour</translation>
    </message>
    <message>
        <source>Bilinear</source>
        <translation>Bilinear</translation>
    </message>
    <message>
        <source>Bicubic (hard)</source>
        <translation>Bicubic (hard)</translation>
    </message>
    <message>
        <source>Bicubic 2 (soft)</source>
        <translation>Bicubic 2 (soft)</translation>
    </message>
    <message>
        <source>BSpline (blur)</source>
        <translation>BSpline (blur)</translation>
    </message>
    <message>
        <source>Lanzcos (sharp)</source>
        <translation>Lanzcos (sharp)</translation>
    </message>
    <message>
        <source>Hermite</source>
        <translation>Hermite</translation>
    </message>
    <message>
        <source>Background (or [0,0] color)</source>
        <translation>Background (or [0,0] color)</translation>
    </message>
    <message>
        <source>Hintergrund (oder schwarz)</source>
        <translation>Background (or black)</translation>
    </message>
    <message>
        <source>Hintergrund (oder weiss)</source>
        <translation>Background (or white)</translation>
    </message>
    <message>
        <source>Wrap</source>
        <translation>Wrap</translation>
    </message>
    <message>
        <source>Wiederholen</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Spiegeln</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
</context>
<context>
    <name>SavePanel</name>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Video Aufnahme</source>
        <translation>Record Video</translation>
    </message>
    <message>
        <source>Konfiguration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Video Compress</source>
        <translation>Video Compress</translation>
    </message>
    <message>
        <source>öffnen...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Aufnahme</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Aufnahme Stoppen</source>
        <translation>Stop Capture</translation>
    </message>
    <message>
        <source>Video starten</source>
        <translation>Start Video</translation>
    </message>
    <message>
        <source>Video Stoppen</source>
        <translation>Stop Video</translation>
    </message>
    <message>
        <source>EDF</source>
        <translation>EDF</translation>
    </message>
    <message>
        <source>Panorama</source>
        <translation>Panorama</translation>
    </message>
</context>
<context>
    <name>SimCamera</name>
    <message>
        <source>Auflösung wählen</source>
        <translation>Choose resolution</translation>
    </message>
</context>
<context>
    <name>SimSettingsDialog</name>
    <message>
        <source>Kamera Eigenschaften</source>
        <translation>Camera properties</translation>
    </message>
    <message>
        <source>Farbverstärkung</source>
        <translation>Colour gain</translation>
    </message>
    <message>
        <source>Mikroskop</source>
        <translation>Microscope</translation>
    </message>
    <message>
        <source>Langzeitbelichtung</source>
        <translation>Long exposure</translation>
    </message>
    <message>
        <source>Belichtung</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Rot</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Grün</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Blau</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Auto Weißabgleich</source>
        <translation>Auto white balance</translation>
    </message>
    <message>
        <source>Tisch X</source>
        <translation>Stage X</translation>
    </message>
    <message>
        <source>Tisch Y</source>
        <translation>Stage Y</translation>
    </message>
    <message>
        <source>Fokus (Tiefe)</source>
        <translation>Focus (depth)</translation>
    </message>
    <message>
        <source>Zeilenzeit</source>
        <translation>Row time</translation>
    </message>
    <message>
        <source>Belichtungszeit</source>
        <translation>Exposure time</translation>
    </message>
</context>
<context>
    <name>SkewDialog</name>
    <message>
        <source>Skew</source>
        <translation>Skew</translation>
    </message>
    <message>
        <source>Pivot</source>
        <translation>Pivot</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>Freischalten Interpolation</source>
        <translation>Enable interpolation</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Vistorel</source>
        <translation>Vistorel</translation>
    </message>
    <message>
        <source>Bereit</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>
Vistorel
Vistorel


Vistorel.Document
Vistorel Document</source>
        <translation>
Vistorel
Vistorel


Vistorel.Document
Vistorel Document</translation>
    </message>
    <message>
        <source>Kamera Vorschau</source>
        <translation>Camera Preview</translation>
    </message>
    <message>
        <source>Vistorel
Vistorel</source>
        <translation>Vistorel
Vistorel</translation>
    </message>
    <message>
        <source>Histo</source>
        <translation>Histo</translation>
    </message>
    <message>
        <source>speichern Konfiguration</source>
        <translation>Save Settings</translation>
    </message>
    <message>
        <source>Bildvorschau</source>
        <translation>Picture Preview</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Datei speichern</source>
        <translation>Save File</translation>
    </message>
    <message>
        <source>Bild speichern</source>
        <translation>Saving Image</translation>
    </message>
    <message>
        <source>Die gewählte Sprache gilt ab dem nächsten Start von Vistorel.</source>
        <translation>The chosen language takes effect the next time Vistorel starts.</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
</context>
<context>
    <name>TextDialog</name>
    <message>
        <source>Place text to image</source>
        <translation>Place text to image</translation>
    </message>
    <message>
        <source>Text platzieren</source>
        <translation>Place text</translation>
    </message>
    <message>
        <source>Zeichensatz</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Farbe</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Text hat Hintergrund</source>
        <translation>Text has background</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Opacity:</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>der Abgleich</source>
        <translation>Alignment</translation>
    </message>
    <message>
        <source>Zentriert</source>
        <translation>Centered</translation>
    </message>
    <message>
        <source>nach rechts</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>nach links</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ThresholdDialog</name>
    <message>
        <source>Schwelle</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>Level [0 ... 255]</source>
        <translation>Level [0 ... 255]</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ViewMenu</name>
    <message>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Kamera Aufnahme Modus</source>
        <translation>Camera Capture Mode</translation>
    </message>
    <message>
        <source>Bild Bearbeitungs Modus</source>
        <translation>Image Editing Mode</translation>
    </message>
    <message>
        <source>&amp;Werkzeugleiste</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>S&amp;tatusleiste</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>Menü Darstellung</source>
        <translation>Menu Style</translation>
    </message>
    <message>
        <source>Grundeinstellung</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>XP</source>
        <translation>XP</translation>
    </message>
    <message>
        <source>Vollbild</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Verschieben</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Auswählen</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Verfolgen</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Str&amp;ecken Modus</source>
        <translation>Str&amp;etch Mode</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>Vergrössern	+</source>
        <translation>Zoom In	+</translation>
    </message>
    <message>
        <source>Verkleinern	-</source>
        <translation>Zoom Out	-</translation>
    </message>
    <message>
        <source>Ansicht (1:1)Normalansicht</source>
        <translation>Actual Size (1:1)</translation>
    </message>
    <message>
        <source>Zeige skala(scale)</source>
        <translation>Show Scale</translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Deutsch</source>
        <translation>&amp;Deutsch</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>Steuerung</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>Kamera Vorschau</source>
        <translation>Camera Preview</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save Panel</translation>
    </message>
    <message>
        <source>Bildbrowser</source>
        <translation>Image Browser</translation>
    </message>
    <message>
        <source>Histogramm</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>Einpassen	Ctrl+0</source>
        <translation>Fit to Window	Ctrl+0</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Fenster</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>&amp;Überlappend</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>&amp;Nebeneinander</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>&amp;Symbole anordnen</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
</context>
<context>
    <name>kxcam::V4l2SettingsDialog</name>
    <message>
        <source>Belichtung</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>Kamera Eigenschaften</source>
        <translation>Camera Properties</translation>
    </message>
    <message>
        <source>%1 bis %2, Standard %3</source>
        <translation>%1 to %2, default %3</translation>
    </message>
    <message>
        <source>Die Kamera bietet hier keine Einstellungen.</source>
        <translation>The camera offers no settings here.</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>kxvm::MeasureManager</name>
    <message>
        <source>Die Messdaten wurden für ein Bild von %1 x %2 Pixeln gemacht, dieses Bild hat %3 x %4 Pixel. Die Objekte liegen dann an anderer Stelle.
Trotzdem laden?</source>
        <translation>The measurements were made for a picture of %1 x %2 pixels; this picture has %3 x %4 pixels. The objects would lie elsewhere.
Load them anyway?</translation>
    </message>
    <message>
        <source>Linienprofil - Nr. %1 - %2</source>
        <translation>Line profile - No. %1 - %2</translation>
    </message>
    <message>
        <source>Nr. %1</source>
        <translation>No. %1</translation>
    </message>
</context>
<context>
    <name>kxvm::MeasurePrompts</name>
    <message>
        <source>Messen</source>
        <translation>Measure</translation>
    </message>
</context>
<context>
    <name>kxvm::ProfilePlot</name>
    <message>
        <source>Linienprofil</source>
        <translation>Line profile</translation>
    </message>
    <message>
        <source>Abstand (%1)</source>
        <translation>Distance (%1)</translation>
    </message>
</context>
<context>
    <name>kxvm::ResultsTable</name>
    <message>
        <source>Messtabelle</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Kopieren</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>CSV exportieren...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <source>CSV exportieren</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>CSV (*.csv);;Alle Dateien (*)</source>
        <translation>CSV (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>Nicht exportiert:
%1</source>
        <translation>Not exported:
%1</translation>
    </message>
    <message>
        <source>Messtabelle - %1</source>
        <translation>Results - %1</translation>
    </message>
    <message>
        <source>Nr</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Mittelwert</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Std.-Abw.</source>
        <translation>SD</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Anzahl</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Bild</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Kalibrierung</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>%1 Pixel/%2</source>
        <translation>%1 pixels/%2</translation>
    </message>
    <message>
        <source>keine (Pixel)</source>
        <translation>none (pixels)</translation>
    </message>
</context>
</TS>
