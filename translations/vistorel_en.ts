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
    <name>CMDIFrameWnd</name>
    <message>
        <source>Zuletzt geöffnete Datei</source>
        <translation>Recent File</translation>
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
</TS>
