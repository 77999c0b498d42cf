<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutForm</name>
    <message>
        <source>About Lumbrel</source>
        <translation>Über Lumbrel</translation>
    </message>
    <message>
        <source>Lumbrel</source>
        <translation>Lumbrel</translation>
    </message>
    <message>
        <source>Koch Method Morse Trainer by Zelph Software</source>
        <translation>Morsetrainer nach der Koch-Methode von Zelph Software</translation>
    </message>
    <message>
        <source>Click here to see the Website</source>
        <translation>Hier klicken, um die Webseite zu öffnen</translation>
    </message>
    <message>
        <source>The Koch method</source>
        <translation>Die Koch-Methode</translation>
    </message>
    <message>
        <source>MP3 Recording</source>
        <translation>MP3-Aufnahme</translation>
    </message>
    <message>
        <source>Comments and Bug Reports to:</source>
        <translation>Anmerkungen und Fehlerberichte an:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>DefineMorseForm</name>
    <message>
        <source>Define New Morse Characters</source>
        <translation>Neue Morsezeichen festlegen</translation>
    </message>
    <message>
        <source>Step One</source>
        <translation>Schritt eins</translation>
    </message>
    <message>
        <source>Select the character you wish to modfy or delete from the dropdown list. To create a new character click on the &apos;New&apos; button</source>
        <translation>Wählen Sie in der Liste das Zeichen, das Sie ändern oder löschen möchten. Für ein neues Zeichen klicken Sie auf „Neu“.</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Select the Morse definition to work on</source>
        <translation>Die Morsedefinition wählen, die bearbeitet werden soll</translation>
    </message>
    <message>
        <source>Step Two</source>
        <translation>Schritt zwei</translation>
    </message>
    <message>
        <source>In the box below type in the characters(s) that you want to see when the Morse is generated</source>
        <translation>Geben Sie im Feld darunter das Zeichen (oder die Zeichen) ein, das beim Geben angezeigt werden soll</translation>
    </message>
    <message>
        <source>Displayed Character</source>
        <translation>Angezeigtes Zeichen</translation>
    </message>
    <message>
        <source>Enter the visual representation of the Morse Character here</source>
        <translation>Hier eingeben, wie das Morsezeichen angezeigt wird</translation>
    </message>
    <message>
        <source>Step Three</source>
        <translation>Schritt drei</translation>
    </message>
    <message>
        <source>In the box below enter the Morse code for the new character, use minus for a dash and full stop (period) for a dot</source>
        <translation>Geben Sie im Feld darunter den Morsecode des neuen Zeichens ein: ein Minus für ein Dah (Strich), einen Punkt für ein Dit</translation>
    </message>
    <message>
        <source>Code To Generate (use . and - only)</source>
        <translation>Zu gebender Code (nur . und -)</translation>
    </message>
    <message>
        <source>Enter the dots and dashes here to sound out the character here</source>
        <translation>Hier die Punkte und Striche eingeben, mit denen das Zeichen ertönt</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Define a new Morse character</source>
        <translation>Ein neues Morsezeichen festlegen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete currently displayed Morse definition</source>
        <translation>Die angezeigte Morsedefinition löschen</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Finished defining Morse characters</source>
        <translation>Festlegen der Morsezeichen beenden</translation>
    </message>
</context>
<context>
    <name>Lesson</name>
    <message>
        <source>Lesson %1: %2, last copy %3 %</source>
        <translation>Lektion %1: %2, letzte Abschrift %3 %</translation>
    </message>
    <message>
        <source>(%1 points to go)</source>
        <translation>(noch %1 Punkte)</translation>
    </message>
    <message>
        <source>(1 point to go)</source>
        <translation>(noch 1 Punkt)</translation>
    </message>
    <message>
        <source>(the next character is due)</source>
        <translation>(das nächste Zeichen ist fällig)</translation>
    </message>
</context>
<context>
    <name>MP3RecordingForm</name>
    <message>
        <source>MP3 Recording Support</source>
        <translation>MP3-Aufnahme</translation>
    </message>
    <message>
        <source>MP3 Support</source>
        <translation>MP3-Unterstützung</translation>
    </message>
    <message>
        <source>&lt;p&gt;MP3 encoding is subject to patents and royalties in some countries, so Lumbrel does not encode MP3 itself. It records a session to an MP3 file through the LAME encoder library, which you install separately.&lt;/p&gt;&lt;p&gt;On Debian and Ubuntu install the package &lt;b&gt;libmp3lame0&lt;/b&gt; (for example: &lt;tt&gt;sudo apt install libmp3lame0&lt;/tt&gt;); on other systems install your distribution&apos;s LAME library (libmp3lame.so.0). Then start Lumbrel again: &quot;Record Audio File&quot; in the File menu offers MP3 first, at the bit rate chosen on the &quot;General Setup&quot; page of Setup.&lt;/p&gt;&lt;p&gt;Without the library every recording is a WAV file.&lt;/p&gt;&lt;p&gt;MP3 recording uses LAME, the free MP3 encoder of the LAME project.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Für die MP3-Kodierung fallen in manchen Ländern Patent- und Lizenzgebühren an, deshalb kodiert Lumbrel MP3 nicht selbst. Es nimmt eine Sitzung über die Kodierbibliothek LAME als MP3-Datei auf; diese installieren Sie getrennt.&lt;/p&gt;&lt;p&gt;Unter Debian und Ubuntu installieren Sie das Paket &lt;b&gt;libmp3lame0&lt;/b&gt; (zum Beispiel: &lt;tt&gt;sudo apt install libmp3lame0&lt;/tt&gt;), auf anderen Systemen die LAME-Bibliothek Ihrer Distribution (libmp3lame.so.0). Starten Sie Lumbrel dann neu: „Audiodatei aufnehmen“ im Menü Datei bietet zuerst MP3 an, mit der Bitrate, die auf der Seite „Allgemein“ der Einstellungen gewählt ist.&lt;/p&gt;&lt;p&gt;Ohne die Bibliothek wird jede Aufnahme eine WAV-Datei.&lt;/p&gt;&lt;p&gt;Die MP3-Aufnahme nutzt LAME, den freien MP3-Kodierer des LAME-Projekts.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Select Font</source>
        <translation>Schriftart wählen</translation>
    </message>
    <message>
        <source>&amp;Colour...</source>
        <translation>&amp;Farbe...</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>The colour of the text</source>
        <translation>Die Farbe des Textes</translation>
    </message>
    <message>
        <source>Select Colour</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Create Audio File</source>
        <translation>Audiodatei anlegen</translation>
    </message>
</context>
<context>
    <name>Welcome</name>
    <message>
        <source>Welcome to Lumbrel.

The Koch method teaches Morse code by ear, at full speed from the first day. You start with two characters and copy five-minute sessions of them. Each time you copy a session with 90 % accuracy, one more character is added.

What to do now:
1. Choose your target speed under Actual Character Speed (20 WPM or more).
2. Press Start (or F5) and copy on paper what you hear.
3. At the end, choose File &gt; Check Copy and type in your copy.

At 90 % the next character is offered. Help &gt; Welcome shows this again.</source>
        <translation>Willkommen bei Lumbrel.

Die Koch-Methode lehrt Morsezeichen nach Gehör, vom ersten Tag an im vollen Tempo. Sie beginnen mit zwei Zeichen und nehmen fünfminütige Sitzungen damit auf. Jedes Mal, wenn Sie eine Sitzung zu 90 % richtig mitschreiben, kommt ein Zeichen dazu.

Was Sie jetzt tun:
1. Wählen Sie unter Zeichengeschwindigkeit Ihr Zieltempo (20 WpM oder mehr).
2. Drücken Sie Start (oder F5) und schreiben Sie auf Papier mit, was Sie hören.
3. Wählen Sie am Ende Datei &gt; Abschrift prüfen und tippen Sie Ihre Abschrift ein.

Bei 90 % wird das nächste Zeichen angeboten. Hilfe &gt; Willkommen zeigt diesen Text wieder.</translation>
    </message>
</context>
<context>
    <name>lumbrel::AboutDialog</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>The Koch method teaches Morse code by ear, at full speed from the first lesson.

Set the character speed to the speed you want to reach in the end (20 words per minute or more) and start with only two characters. Listen to a five-minute session of random groups and copy it on paper, then compare your copy with the text that Lumbrel shows.

When your copy reaches 90 percent accuracy, add one more character and carry on. Because every character is heard at full speed from the start, you learn its sound as a whole rhythm instead of counting dots and dashes, and there is no slow-speed plateau to break through later.

If the full speed is too hard at first, keep the character speed and slow down the effective speed, which only stretches the gaps between characters and words.</source>
        <translation>Die Koch-Methode lehrt Morsen nach Gehör, vom ersten Tag an in voller Geschwindigkeit.

Stellen Sie die Zeichengeschwindigkeit auf das Tempo ein, das Sie am Ende erreichen wollen (20 Wörter pro Minute oder mehr), und beginnen Sie mit nur zwei Zeichen. Hören Sie eine fünfminütige Sitzung mit Zufallsgruppen, schreiben Sie auf Papier mit und vergleichen Sie Ihre Mitschrift dann mit dem Text, den Lumbrel anzeigt.

Erreicht Ihre Mitschrift 90 Prozent, nehmen Sie ein Zeichen hinzu und machen weiter. Weil jedes Zeichen von Anfang an in voller Geschwindigkeit erklingt, lernen Sie seinen Klang als ganzen Rhythmus, statt Punkte und Striche zu zählen, und es gibt später kein Plateau bei langsamem Tempo zu überwinden.

Ist das volle Tempo anfangs zu schwer, behalten Sie die Zeichengeschwindigkeit bei und verringern Sie die effektive Geschwindigkeit; sie dehnt nur die Pausen zwischen Zeichen und Wörtern.</translation>
    </message>
</context>
<context>
    <name>lumbrel::AlsaMidiKeys</name>
    <message>
        <source>MIDI key: the ALSA sequencer is not available.</source>
        <translation>MIDI-Taste: Der ALSA-Sequencer ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>MIDI key: no MIDI key adapter is plugged in.</source>
        <translation>MIDI-Taste: Kein MIDI-Tastenadapter ist angeschlossen.</translation>
    </message>
    <message>
        <source>MIDI key: %1 is not plugged in.</source>
        <translation>MIDI-Taste: %1 ist nicht angeschlossen.</translation>
    </message>
    <message>
        <source>MIDI key: %1 cannot be connected.</source>
        <translation>MIDI-Taste: %1 kann nicht verbunden werden.</translation>
    </message>
    <message>
        <source>MIDI key: %1.</source>
        <translation>MIDI-Taste: %1.</translation>
    </message>
</context>
<context>
    <name>lumbrel::Application</name>
    <message>
        <source>An unknown error occurred.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>lumbrel::CharactersWindow</name>
    <message>
        <source>Characters</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Every character of the learning order with its code. Press a button or type the character to hear it. The characters of your lesson are in bold.</source>
        <translation>Jedes Zeichen der Lernfolge mit seinem Code. Drücken Sie eine Schaltfläche oder tippen Sie das Zeichen, um es zu hören. Die Zeichen Ihrer Lektion sind fett.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Hear %1</source>
        <translation>%1 anhören</translation>
    </message>
    <message>
        <source>A session is running: stop it to hear a character here.</source>
        <translation>Eine Sitzung läuft: Beenden Sie sie, um hier ein Zeichen zu hören.</translation>
    </message>
    <message>
        <source>No sound output: %1</source>
        <translation>Keine Tonausgabe: %1</translation>
    </message>
    <message>
        <source>%1   %2</source>
        <translation>%1   %2</translation>
    </message>
</context>
<context>
    <name>lumbrel::CheckCopyDialog</name>
    <message>
        <source>%1 WPM</source>
        <translation>%1 WpM</translation>
    </message>
    <message>
        <source> (effective %1)</source>
        <translation> (effektiv %1)</translation>
    </message>
    <message>
        <source>%1 characters (%2 order)</source>
        <translation>%1 Zeichen (Reihenfolge %2)</translation>
    </message>
    <message>
        <source>%1 characters sent</source>
        <translation>%1 Zeichen gesendet</translation>
    </message>
    <message>
        <source>Check Copy</source>
        <translation>Abschrift prüfen</translation>
    </message>
    <message>
        <source>Type or paste what you copied on paper, then press Check. Case, spaces and line breaks do not count. Write a prosign as &lt;sk&gt; or ^sk, or as +, = and ( for ^ar, ^bt and ^kn.</source>
        <translation>Tippen oder fügen Sie ein, was Sie auf Papier mitgeschrieben haben, und drücken Sie dann Prüfen. Groß- und Kleinschreibung, Leerzeichen und Zeilenumbrüche zählen nicht. Ein Betriebszeichen schreiben Sie als &lt;sk&gt; oder ^sk, oder als +, = und ( für ^ar, ^bt und ^kn.</translation>
    </message>
    <message>
        <source>What you copied</source>
        <translation>Ihre Mitschrift</translation>
    </message>
    <message>
        <source>&amp;Check</source>
        <translation>&amp;Prüfen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 wrong &amp;nbsp; %2 dropped (not copied) &amp;nbsp; %3 added (copied, not sent)</source>
        <translation>%1 falsch &amp;nbsp; %2 fehlt (nicht mitgeschrieben) &amp;nbsp; %3 zu viel (mitgeschrieben, nicht gesendet)</translation>
    </message>
    <message>
        <source>sent  </source>
        <comment>as wide as the copy line&apos;s label</comment>
        <translation>Text  </translation>
    </message>
    <message>
        <source>copy  </source>
        <comment>as wide as the sent line&apos;s label</comment>
        <translation>Kopie </translation>
    </message>
    <message>
        <source>Nothing to check: type or paste what you copied first.</source>
        <translation>Nichts zu prüfen: Tippen oder fügen Sie zuerst Ihre Mitschrift ein.</translation>
    </message>
    <message>
        <source>Accuracy %1</source>
        <translation>Genauigkeit %1</translation>
    </message>
    <message>
        <source>%1 characters sent: %2 right, %3 wrong, %4 dropped; %5 added.</source>
        <translation>%1 Zeichen gesendet: %2 richtig, %3 falsch, %4 fehlen; %5 zu viel.</translation>
    </message>
    <message>
        <source>Add the next character: %1 (%2 characters)</source>
        <translation>Nächstes Zeichen hinzunehmen: %1 (%2 Zeichen)</translation>
    </message>
    <message>
        <source>Well copied.</source>
        <translation>Gut mitgeschrieben.</translation>
    </message>
    <message>
        <source>%1% or more.</source>
        <translation>%1 % oder mehr.</translation>
    </message>
    <message>
        <source>%1% or more: time for the next character.</source>
        <translation>%1 % oder mehr: Zeit für das nächste Zeichen.</translation>
    </message>
    <message>
        <source>%1% or more with every character: nothing more to add.</source>
        <translation>%1 % oder mehr mit allen Zeichen: Es gibt nichts mehr hinzuzunehmen.</translation>
    </message>
    <message>
        <source>Missed most: %1.</source>
        <translation>Am häufigsten verfehlt: %1.</translation>
    </message>
    <message>
        <source>The character count has changed since this session; nothing was added.</source>
        <translation>Die Zeichenzahl hat sich seit dieser Sitzung geändert; es wurde nichts hinzugenommen.</translation>
    </message>
    <message>
        <source>Added %1: now %2 characters</source>
        <translation>%1 hinzugenommen: jetzt %2 Zeichen</translation>
    </message>
</context>
<context>
    <name>lumbrel::ConfigureDialog</name>
    <message>
        <source>Configure Codes</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General Setup</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Morse Character Setup</source>
        <translation>Morsezeichen</translation>
    </message>
    <message>
        <source>Common Words</source>
        <translation>Häufige Wörter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Finished!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>Straight key Fist</source>
        <translation>Handschrift an der Handtaste</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Gut</translation>
    </message>
    <message>
        <source>Bad</source>
        <translation>Schlecht</translation>
    </message>
    <message>
        <source>Speed Dither</source>
        <translation>Tempo schwankt</translation>
    </message>
    <message>
        <source>5 WPM</source>
        <translation>5 WpM</translation>
    </message>
    <message>
        <source>10 WPM</source>
        <translation>10 WpM</translation>
    </message>
    <message>
        <source>+/- 2.5 WPM or +/- 5WPM</source>
        <translation>±2,5 WpM oder ±5 WpM</translation>
    </message>
    <message>
        <source>MP3 Recording Bit Rate</source>
        <translation>Bitrate der MP3-Aufnahme</translation>
    </message>
    <message>
        <source>Bit Rate for MP3 Audio Recordings</source>
        <translation>Bitrate für MP3-Aufnahmen</translation>
    </message>
    <message>
        <source>16 Kbps</source>
        <translation>16 kbit/s</translation>
    </message>
    <message>
        <source>32 Kbps</source>
        <translation>32 kbit/s</translation>
    </message>
    <message>
        <source>48 Kbps</source>
        <translation>48 kbit/s</translation>
    </message>
    <message>
        <source>64 Kbps</source>
        <translation>64 kbit/s</translation>
    </message>
    <message>
        <source>96 Kbps</source>
        <translation>96 kbit/s</translation>
    </message>
    <message>
        <source>112 Kbps</source>
        <translation>112 kbit/s</translation>
    </message>
    <message>
        <source>128 Kbps</source>
        <translation>128 kbit/s</translation>
    </message>
    <message>
        <source>Effective Speed</source>
        <translation>Effektive Geschwindigkeit</translation>
    </message>
    <message>
        <source>Each Word</source>
        <translation>Je Wort</translation>
    </message>
    <message>
        <source>Each Character</source>
        <translation>Je Zeichen</translation>
    </message>
    <message>
        <source>Learning Order</source>
        <translation>Lernreihenfolge</translation>
    </message>
    <message>
        <source>Use MFJ 418 Learning Order</source>
        <translation>Lernreihenfolge des MFJ-418</translation>
    </message>
    <message>
        <source>Favour Recently Added Characters</source>
        <translation>Neu hinzugekommene Zeichen bevorzugen</translation>
    </message>
    <message>
        <source>Favour characters I miss</source>
        <translation>Zeichen bevorzugen, die ich verfehle</translation>
    </message>
    <message>
        <source>Random groups bring the characters you missed most in your last checked sessions and drills more often; every character still comes.</source>
        <translation>Zufallsgruppen bringen die Zeichen öfter, die Sie in den letzten geprüften Sitzungen und Drills am häufigsten verfehlt haben; jedes Zeichen kommt weiterhin vor.</translation>
    </message>
    <message>
        <source>Rig Control Port</source>
        <translation>Anschluss zum Tasten des Funkgeräts</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Select a COM port to provide the rig control sginal.</source>
        <translation>Wählen Sie eine COM-Schnittstelle für das Tastsignal des Funkgeräts.</translation>
    </message>
    <message>
        <source>A serial device for the rig control signal, such as a USB adapter (/dev/ttyUSB0). Leave empty to use the COM port chosen above; keying is off with &quot;Off&quot;.</source>
        <translation>Ein serielles Gerät für das Tastsignal des Funkgeräts, etwa ein USB-Adapter (/dev/ttyUSB0). Leer lassen, um die oben gewählte COM-Schnittstelle zu nutzen; mit „Aus“ wird nicht getastet.</translation>
    </message>
    <message>
        <source>Serial &amp;device:</source>
        <translation>Serielles &amp;Gerät:</translation>
    </message>
    <message>
        <source>Serial device</source>
        <translation>Serielles Gerät</translation>
    </message>
    <message>
        <source>Session Length</source>
        <translation>Sitzungsdauer</translation>
    </message>
    <message>
        <source>Set the length of the training sessions</source>
        <translation>Die Dauer der Übungssitzungen einstellen</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>5 Minutes is the recommended study interval</source>
        <translation>Empfohlen sind 5 Minuten je Sitzung</translation>
    </message>
    <message>
        <source>Starting Delay</source>
        <translation>Startverzögerung</translation>
    </message>
    <message>
        <source>Set the time you need to get ready before the Morse starts.</source>
        <translation>Die Zeit einstellen, die Sie brauchen, bis das Morsen beginnt.</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Delay after Clicking Start before Morse Starts</source>
        <translation>Wartezeit nach Start, bevor das Morsen beginnt</translation>
    </message>
    <message>
        <source>Sound Card Setup</source>
        <translation>Soundkarte</translation>
    </message>
    <message>
        <source>Use Windows Callbacks</source>
        <translation>Windows-Callbacks verwenden</translation>
    </message>
    <message>
        <source>Change the setting of this box and restart the application if you only hear a couple of Morse characters after pressing the Start button or you get clicks on the audio or you get an error in RichEdit.DLL.</source>
        <translation>Ändern Sie diese Einstellung und starten Sie das Programm neu, wenn Sie nach Start nur ein paar Morsezeichen hören, der Ton knackt oder ein Fehler in RichEdit.DLL auftritt.</translation>
    </message>
    <message>
        <source>Use Sound System Callbacks</source>
        <translation>Callbacks des Soundsystems verwenden</translation>
    </message>
    <message>
        <source>Checked, the sound system&apos;s own thread reports each played buffer; unchecked, the report goes through the window&apos;s message queue. Change the setting of this box and restart the application if you only hear a couple of Morse characters after pressing the Start button or you get clicks on the audio.</source>
        <translation>Eingeschaltet meldet der Thread des Soundsystems selbst jeden gespielten Puffer, ausgeschaltet läuft die Meldung über die Nachrichtenschlange des Fensters. Ändern Sie diese Einstellung und starten Sie das Programm neu, wenn Sie nach Start nur ein paar Morsezeichen hören oder der Ton knackt.</translation>
    </message>
    <message>
        <source>Change this setting if you cannot hear Morse or there are clicks in the audio.</source>
        <translation>Ändern Sie diese Einstellung, wenn Sie keine Morsezeichen hören oder der Ton knackt.</translation>
    </message>
    <message>
        <source>Morse Characters</source>
        <translation>Morsezeichen</translation>
    </message>
    <message>
        <source>Uncheck a character to exclude it from a training session.</source>
        <translation>Schalten Sie ein Zeichen aus, um es von den Übungssitzungen auszunehmen.</translation>
    </message>
    <message>
        <source>Uncheck All</source>
        <translation>Alle aus</translation>
    </message>
    <message>
        <source>Turn off all characters from the session</source>
        <translation>Alle Zeichen der Sitzung ausschalten</translation>
    </message>
    <message>
        <source>Check All</source>
        <translation>Alle ein</translation>
    </message>
    <message>
        <source>Turn on all characters in the session</source>
        <translation>Alle Zeichen der Sitzung einschalten</translation>
    </message>
    <message>
        <source>Define</source>
        <translation>Festlegen</translation>
    </message>
    <message>
        <source>Define new Morse Characters</source>
        <translation>Neue Morsezeichen festlegen</translation>
    </message>
    <message>
        <source>Uncheck characters here to remove them from a training session.</source>
        <translation>Schalten Sie hier Zeichen aus, um sie aus den Übungssitzungen zu nehmen.</translation>
    </message>
    <message>
        <source>Starting Letter of Words</source>
        <translation>Anfangsbuchstaben der Wörter</translation>
    </message>
    <message>
        <source>Uncheck the starting letter of words you do not want in the lesson</source>
        <translation>Schalten Sie die Anfangsbuchstaben der Wörter aus, die Sie nicht üben wollen</translation>
    </message>
    <message>
        <source>Number of Words</source>
        <translation>Anzahl der Wörter</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Maximum Word Length</source>
        <translation>Höchste Wortlänge</translation>
    </message>
    <message>
        <source>80Kbps</source>
        <translation>80 kbit/s</translation>
    </message>
    <message>
        <source>Sending</source>
        <translation>Geben</translation>
    </message>
</context>
<context>
    <name>lumbrel::ControlsModel</name>
    <message>
        <source>Full</source>
        <translation>Voll</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Verbergen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Shallow</source>
        <translation>Flach</translation>
    </message>
    <message>
        <source>Deep</source>
        <translation>Tief</translation>
    </message>
</context>
<context>
    <name>lumbrel::CopyChecking</name>
    <message>
        <source>&amp;Check Copy...</source>
        <translation>&amp;Abschrift prüfen...</translation>
    </message>
    <message>
        <source>Check what you copied of the last session</source>
        <translation>Prüfen, was Sie von der letzten Sitzung mitgeschrieben haben</translation>
    </message>
    <message>
        <source>&amp;Progress...</source>
        <translation>&amp;Fortschritt...</translation>
    </message>
    <message>
        <source>Your accuracy, the characters learnt and the errors per character</source>
        <translation>Ihre Genauigkeit, die gelernten Zeichen und die Fehler je Zeichen</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Not saved: the history cannot be used.</source>
        <translation>Nicht gespeichert: Der Verlauf ist nicht nutzbar.</translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation>Nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Saved to your progress history.</source>
        <translation>Im Verlauf Ihres Fortschritts gespeichert.</translation>
    </message>
</context>
<context>
    <name>lumbrel::CopyScore</name>
    <message>
        <source>%1.%2 points to go to %3% (%4 error too many)</source>
        <translation>noch %1,%2 Punkte bis %3 % (%4 Fehler zu viel)</translation>
    </message>
    <message>
        <source>%1.%2 points to go to %3% (%4 errors too many)</source>
        <translation>noch %1,%2 Punkte bis %3 % (%4 Fehler zu viel)</translation>
    </message>
    <message>
        <source> (as %1 %2)</source>
        <translation> (als %1 %2×)</translation>
    </message>
    <message>
        <source>The session was stopped at %1:%2 of %3 minute%4; the next character is added after a whole session.</source>
        <translation>Die Sitzung wurde nach %1:%2 von %3 Minute%4 angehalten; das nächste Zeichen kommt erst nach einer ganzen Sitzung hinzu.</translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of minute</comment>
        <translation>n</translation>
    </message>
    <message>
        <source>%1 %2 of %3</source>
        <translation>%1 %2 von %3</translation>
    </message>
</context>
<context>
    <name>lumbrel::DrillControllers</name>
    <message>
        <source>The character %1 is not in the character list.</source>
        <translation>Das Zeichen %1 steht nicht in der Zeichenliste.</translation>
    </message>
</context>
<context>
    <name>lumbrel::DrillsDialog</name>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Drills</source>
        <translation>Drills</translation>
    </message>
    <message>
        <source>&amp;Time limit:</source>
        <translation>Zeit&amp;limit:</translation>
    </message>
    <message>
        <source> characters</source>
        <translation> Zeichen</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>ohne Grenze</translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation>&amp;Zeichenzahl:</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>or &amp;minutes:</source>
        <translation>oder &amp;Minuten:</translation>
    </message>
    <message>
        <source>Ta&amp;rget:</source>
        <translation>Zielzei&amp;t:</translation>
    </message>
    <message>
        <source>Start with two characters, &amp;add the next as each is known</source>
        <translation>Mit zwei Zeichen beginnen, das nächste &amp;hinzunehmen, sobald eines sitzt</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Instant &amp;recognition</source>
        <translation>Sofort&amp;erkennung</translation>
    </message>
    <message>
        <source> calls</source>
        <translation> Rufzeichen</translation>
    </message>
    <message>
        <source>&amp;Calls:</source>
        <translation>&amp;Rufzeichen:</translation>
    </message>
    <message>
        <source> WPM</source>
        <translation> WpM</translation>
    </message>
    <message>
        <source>Start s&amp;peed:</source>
        <translation>&amp;Anfangstempo:</translation>
    </message>
    <message>
        <source>St&amp;ep:</source>
        <translation>Schritt&amp;weite:</translation>
    </message>
    <message>
        <source>Top spee&amp;d:</source>
        <translation>Höchsttem&amp;po:</translation>
    </message>
    <message>
        <source>&amp;Vary the pitch of each call (within %1 Hz)</source>
        <translation>Tonhöhe jedes Rufzeichens &amp;variieren (innerhalb %1 Hz)</translation>
    </message>
    <message>
        <source>Only calls I &amp;missed before</source>
        <translation>Nur bisher verpasste R&amp;ufzeichen</translation>
    </message>
    <message>
        <source>S&amp;tart</source>
        <translation>Starte&amp;n</translation>
    </message>
    <message>
        <source>Call copied</source>
        <translation>Mitgeschriebenes Rufzeichen</translation>
    </message>
    <message>
        <source>Co&amp;py:</source>
        <translation>Mitschri&amp;ft:</translation>
    </message>
    <message>
        <source>Callsign r&amp;uns</source>
        <translation>Rufzeichen-&amp;Durchgänge</translation>
    </message>
    <message>
        <source>&amp;Band conditions of the main window (noise, signal, fading)</source>
        <translation>&amp;Bandbedingungen des Hauptfensters (Rauschen, Signal, Fading)</translation>
    </message>
    <message>
        <source>Recognition: type the character you hear, once it has ended. Callsigns: type the call, Enter; F5 plays it again (half points). Esc ends the drill.</source>
        <translation>Erkennen: Tippen Sie das gehörte Zeichen, sobald es zu Ende ist. Rufzeichen: Rufzeichen tippen, Eingabe; F5 spielt es noch einmal (halbe Punkte). Esc beendet den Drill.</translation>
    </message>
    <message>
        <source>One replay per call.</source>
        <translation>Eine Wiederholung je Rufzeichen.</translation>
    </message>
    <message>
        <source>The history cannot be used (%1); this drill is not kept.</source>
        <translation>Der Verlauf ist nicht nutzbar (%1); dieser Drill wird nicht gespeichert.</translation>
    </message>
    <message>
        <source>No characters are in use.</source>
        <translation>Es sind keine Zeichen in Gebrauch.</translation>
    </message>
    <message>
        <source>Type the character you hear</source>
        <translation>Tippen Sie das Zeichen, das Sie hören</translation>
    </message>
    <message>
        <source>Copy the call, then Enter</source>
        <translation>Rufzeichen mitschreiben, dann Eingabe</translation>
    </message>
    <message>
        <source>%1 WPM</source>
        <translation>%1 WpM</translation>
    </message>
    <message>
        <source>Call %1 of %2</source>
        <translation>Rufzeichen %1 von %2</translation>
    </message>
    <message>
        <source>Character %1 of %2</source>
        <translation>Zeichen %1 von %2</translation>
    </message>
    <message>
        <source>Character %1</source>
        <translation>Zeichen %1</translation>
    </message>
    <message>
        <source> · %1 characters: %2</source>
        <translation> · %1 Zeichen: %2</translation>
    </message>
    <message>
        <source>%1: right in %2</source>
        <translation>%1: richtig in %2</translation>
    </message>
    <message>
        <source>You typed %1; it was %2</source>
        <translation>Getippt: %1; es war %2</translation>
    </message>
    <message>
        <source>Too late; it was %1</source>
        <translation>Zu spät; es war %1</translation>
    </message>
    <message>
        <source>%1 before it was heard: not counted</source>
        <translation>%1 vor dem Hören: zählt nicht</translation>
    </message>
    <message>
        <source>%1 points at %2 WPM · score %3 · next %4 WPM</source>
        <translation>%1 Punkte bei %2 WpM · Stand %3 · weiter mit %4 WpM</translation>
    </message>
    <message>
        <source>This drill could not be kept: %1</source>
        <translation>Dieser Drill konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;Target %1: a character is known when it is right in %2 % of at least %3 answers with a median under the target, in each of the last %4 drills. A key before the character was heard is early and counts for nothing.&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Character&lt;/th&gt;&lt;th&gt;Accuracy&lt;/th&gt;&lt;th&gt;Median&lt;/th&gt;&lt;th&gt;Early&lt;/th&gt;&lt;th&gt;Known&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;p&gt;Zielzeit %1: Ein Zeichen sitzt, wenn es in jedem der letzten %4 Drills in %2 % von mindestens %3 Antworten richtig ist, mit einem Median unter der Zielzeit. Eine Taste vor dem Hören des Zeichens ist zu früh und zählt nicht.&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Zeichen&lt;/th&gt;&lt;th&gt;Genauigkeit&lt;/th&gt;&lt;th&gt;Median&lt;/th&gt;&lt;th&gt;Zu früh&lt;/th&gt;&lt;th&gt;Sitzt&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>Done: %1 characters</source>
        <translation>Fertig: %1 Zeichen</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Score %1&lt;/b&gt; · top speed %2 WPM · %3 of %4 calls missed&lt;br&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Punkte %1&lt;/b&gt; · Höchsttempo %2 WpM · %3 von %4 Rufzeichen verpasst&lt;br&gt;</translation>
    </message>
    <message>
        <source>Your first run.</source>
        <translation>Ihr erster Durchgang.</translation>
    </message>
    <message>
        <source>A new best score (before: %1).</source>
        <translation>Neuer Bestwert (bisher: %1).</translation>
    </message>
    <message>
        <source>Best score so far: %1.</source>
        <translation>Bisheriger Bestwert: %1.</translation>
    </message>
    <message>
        <source>&lt;p&gt;Missed:&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Call&lt;/th&gt;&lt;th&gt;Copied&lt;/th&gt;&lt;th&gt;WPM&lt;/th&gt;&lt;th&gt;Points&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;p&gt;Verpasst:&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Rufzeichen&lt;/th&gt;&lt;th&gt;Mitschrift&lt;/th&gt;&lt;th&gt;WpM&lt;/th&gt;&lt;th&gt;Punkte&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>Done: score %1</source>
        <translation>Fertig: %1 Punkte</translation>
    </message>
    <message>
        <source>WPM</source>
        <translation>WpM</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Verpasst</translation>
    </message>
    <message>
        <source>Call (red: missed)</source>
        <translation>Rufzeichen (rot: verpasst)</translation>
    </message>
    <message>
        <source>No sound output: %1</source>
        <translation>Keine Tonausgabe: %1</translation>
    </message>
</context>
<context>
    <name>lumbrel::FistReport</name>
    <message>
        <source>first</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>second</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>third</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>fourth</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>fifth</source>
        <translation>5.</translation>
    </message>
    <message>
        <source>sixth</source>
        <translation>6.</translation>
    </message>
    <message>
        <source>seventh</source>
        <translation>7.</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>8.</translation>
    </message>
    <message>
        <source>ninth</source>
        <translation>9.</translation>
    </message>
    <message>
        <source>last</source>
        <comment>after the gap</comment>
        <translation>letzten</translation>
    </message>
    <message>
        <source>last</source>
        <translation>letzte</translation>
    </message>
    <message>
        <source>the %1 dot</source>
        <comment>after the gap</comment>
        <translation>dem %1 Punkt</translation>
    </message>
    <message>
        <source>the %1 dash</source>
        <comment>after the gap</comment>
        <translation>dem %1 Strich</translation>
    </message>
    <message>
        <source>the %1 dot</source>
        <translation>der %1 Punkt</translation>
    </message>
    <message>
        <source>the %1 dash</source>
        <translation>der %1 Strich</translation>
    </message>
    <message>
        <source>%1: dashes short: %2 dits</source>
        <translation>%1: Striche zu kurz: %2 Punktlängen</translation>
    </message>
    <message>
        <source>%1: dashes long: %2 dits</source>
        <translation>%1: Striche zu lang: %2 Punktlängen</translation>
    </message>
    <message>
        <source>%1: the gap after %2 was %3 dot units</source>
        <translation>%1: die Pause nach %2 war %3 Punktlängen</translation>
    </message>
    <message>
        <source>%1 elements sent, %2 in the text (too long to set side by side)</source>
        <translation>%1 Elemente gegeben, %2 im Text (zu lang zum Vergleichen)</translation>
    </message>
    <message>
        <source>%1 read where nothing was sent</source>
        <translation>%1 gelesen, wo nichts gegeben wurde</translation>
    </message>
    <message>
        <source>%1 not read</source>
        <translation>%1 nicht gelesen</translation>
    </message>
    <message>
        <source>%1 read as %2</source>
        <translation>%1 als %2 gelesen</translation>
    </message>
    <message>
        <source>%1 elements sent, %2 in the text</source>
        <translation>%1 Elemente gegeben, %2 im Text</translation>
    </message>
    <message>
        <source> of %1</source>
        <translation> von %1</translation>
    </message>
    <message>
        <source>%1%2 was %3 dot units</source>
        <translation>%1%2 war %3 Punktlängen</translation>
    </message>
    <message>
        <source>the gap after %1%2 was %3 dot units</source>
        <translation>die Pause nach %1%2 war %3 Punktlängen</translation>
    </message>
    <message>
        <source>the gap after %1 was %2 dot units</source>
        <translation>die Pause nach %1 war %2 Punktlängen</translation>
    </message>
    <message>
        <source>%1 read as %2: %3</source>
        <translation>%1 als %2 gelesen: %3</translation>
    </message>
</context>
<context>
    <name>lumbrel::History</name>
    <message>
        <source>unknown database error</source>
        <translation>unbekannter Datenbankfehler</translation>
    </message>
    <message>
        <source>The folder %1 for the history cannot be created.</source>
        <translation>Der Ordner %1 für den Verlauf kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The history %1 cannot be read; it is left as it is.</source>
        <translation>Der Verlauf %1 kann nicht gelesen werden; er bleibt unverändert.</translation>
    </message>
    <message>
        <source>The history %1 cannot be written; it is left as it is and nothing is stored.</source>
        <translation>Der Verlauf %1 kann nicht geschrieben werden; er bleibt unverändert, und nichts wird gespeichert.</translation>
    </message>
    <message>
        <source>The history %1 cannot be used: %2.</source>
        <translation>Der Verlauf %1 ist nicht nutzbar: %2.</translation>
    </message>
    <message>
        <source>the SQLite driver of Qt is missing</source>
        <translation>der SQLite-Treiber von Qt fehlt</translation>
    </message>
    <message>
        <source>The integrity check of %1 found:</source>
        <translation>Die Integritätsprüfung von %1 fand:</translation>
    </message>
    <message>
        <source>schema version %1</source>
        <translation>Schemaversion %1</translation>
    </message>
    <message>
        <source>it is not a Lumbrel history</source>
        <translation>es ist kein Verlauf von Lumbrel</translation>
    </message>
    <message>
        <source>the table %1 is missing</source>
        <translation>die Tabelle %1 fehlt</translation>
    </message>
    <message>
        <source>upgrading from version %1 failed: %2</source>
        <translation>die Aktualisierung von Version %1 schlug fehl: %2</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>What could be read of it, table by table:</source>
        <translation>Was davon lesbar war, Tabelle für Tabelle:</translation>
    </message>
    <message>
        <source>  %1: %2 (a read stopped: %3)</source>
        <translation>  %1: %2 (ein Lesevorgang brach ab: %3)</translation>
    </message>
    <message>
        <source>what can be read of it could not be saved</source>
        <translation>das Lesbare daran konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>it could not be kept beside a repaired one</source>
        <translation>er konnte nicht neben einem reparierten aufbewahrt werden</translation>
    </message>
    <message>
        <source>the repaired history could not take its place</source>
        <translation>der reparierte Verlauf konnte nicht an seine Stelle treten</translation>
    </message>
    <message>
        <source>there is no %1 %2 in the history</source>
        <translation>%1 %2 gibt es im Verlauf nicht</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>  %1 left out: their session, drill or sending could not be read</source>
        <translation>  %1 ausgelassen: ihre Sitzung, ihr Drill oder ihre Gebeübung war nicht lesbar</translation>
    </message>
    <message>
        <source>another program is upgrading it</source>
        <translation>ein anderes Programm aktualisiert ihn gerade</translation>
    </message>
</context>
<context>
    <name>lumbrel::KeyboardKeys</name>
    <message>
        <source>Keyboard: the keys set in Setup; mouse: left dit, right dah.</source>
        <translation>Tastatur: die in den Einstellungen gewählten Tasten; Maus: links Punkt, rechts Strich.</translation>
    </message>
</context>
<context>
    <name>lumbrel::LearnerGuide</name>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Welcome</source>
        <translation>&amp;Willkommen</translation>
    </message>
    <message>
        <source>&amp;Characters...</source>
        <translation>&amp;Zeichen...</translation>
    </message>
    <message>
        <source>&amp;Repeat Last Session</source>
        <translation>Letzte Sitzung wiede&amp;rholen</translation>
    </message>
    <message>
        <source>The same characters as the last session, for a second try</source>
        <translation>Dieselben Zeichen wie in der letzten Sitzung, für einen zweiten Versuch</translation>
    </message>
    <message>
        <source>&amp;Volume</source>
        <translation>&amp;Lautstärke</translation>
    </message>
    <message>
        <source> dB</source>
        <translation> dB</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>The trainer&apos;s volume, in dB below full level</source>
        <translation>Die Lautstärke des Trainers, in dB unter voller Aussteuerung</translation>
    </message>
    <message>
        <source>New character: %1</source>
        <translation>Neues Zeichen: %1</translation>
    </message>
</context>
<context>
    <name>lumbrel::MainWindow</name>
    <message>
        <source>Select the overall code speed, this changes the gap between Morse characters.</source>
        <translation>Die Gesamtgeschwindigkeit wählen; sie ändert die Pausen zwischen den Morsezeichen.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Click here to listen to random groups of Morse</source>
        <translation>Hier klicken, um Zufallsgruppen in Morse zu hören</translation>
    </message>
    <message>
        <source>Text FIle</source>
        <translation>Textdatei</translation>
    </message>
    <message>
        <source>Click here to listen to a text file in Morse</source>
        <translation>Hier klicken, um eine Textdatei in Morse zu hören</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Wörter</translation>
    </message>
    <message>
        <source>Click here to listen to random words</source>
        <translation>Hier klicken, um zufällige Wörter zu hören</translation>
    </message>
    <message>
        <source>QSO&apos;s</source>
        <translation>QSOs</translation>
    </message>
    <message>
        <source>Click here to listen to random QSO&apos;s</source>
        <translation>Hier klicken, um zufällige QSOs zu hören</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Click here to stop the current operation</source>
        <translation>Hier klicken, um den laufenden Vorgang anzuhalten</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Click here to stop the current session or close the application</source>
        <translation>Hier klicken, um die Sitzung zu beenden oder das Programm zu schließen</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Click here to configure the software</source>
        <translation>Hier klicken, um das Programm einzustellen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>Record Audio File</source>
        <translation>Audiodatei aufnehmen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>Schriftart wählen</translation>
    </message>
    <message>
        <source>Single Words Only</source>
        <translation>Nur einzelne Wörter</translation>
    </message>
    <message>
        <source>Clear </source>
        <translation>Löschen </translation>
    </message>
    <message>
        <source>Save To File</source>
        <translation>In Datei speichern</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Countdown to the start of a training session or the elapsed time into this session.</source>
        <translation>Countdown bis zum Beginn einer Übungssitzung oder die seither vergangene Zeit.</translation>
    </message>
    <message>
        <source>Display Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message>
        <source>Delay, in characters, between the sound and the tex, or select Hide to only display the text at the end of the lesson</source>
        <translation>Verzögerung in Zeichen zwischen Ton und Text, oder „Verbergen“, um den Text erst am Ende der Übung zu zeigen</translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation>Tonhöhe</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Set the pitch of the Morse being sent</source>
        <translation>Die Tonhöhe der gesendeten Morsezeichen einstellen</translation>
    </message>
    <message>
        <source>Characters</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Select the number of characters in the session</source>
        <translation>Die Zahl der Zeichen in der Sitzung wählen</translation>
    </message>
    <message>
        <source>Actual Character Speed (WPM)</source>
        <translation>Zeichengeschwindigkeit (WpM)</translation>
    </message>
    <message>
        <source>Select the characer transmission speed</source>
        <translation>Die Geschwindigkeit wählen, mit der jedes Zeichen gegeben wird</translation>
    </message>
    <message>
        <source>Effective Code Speed (WPM)</source>
        <translation>Effektive Geschwindigkeit (WpM)</translation>
    </message>
    <message>
        <source>Noise Level</source>
        <translation>Rauschen</translation>
    </message>
    <message>
        <source>Add Random Noise to the Morse</source>
        <translation>Den Morsezeichen Rauschen beimischen</translation>
    </message>
    <message>
        <source>Signal Strength</source>
        <translation>Signalstärke</translation>
    </message>
    <message>
        <source>Modify the siignal strength of the Morse</source>
        <translation>Die Signalstärke der Morsezeichen ändern</translation>
    </message>
    <message>
        <source>QSB</source>
        <translation>QSB</translation>
    </message>
    <message>
        <source>Add QSB to the Morse Signal</source>
        <translation>Dem Morsesignal QSB (Schwund) hinzufügen</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Enable the QSB (fading) feature.</source>
        <translation>QSB (Schwund) einschalten.</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Select the speed at which the QSB occurs.</source>
        <translation>Wählen, wie schnell das QSB schwankt.</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Select the style of QSB</source>
        <translation>Die Art des QSB wählen</translation>
    </message>
    <message>
        <source>Chirp</source>
        <translation>Chirp</translation>
    </message>
    <message>
        <source>Add Chirp to the Morse Code</source>
        <translation>Den Morsezeichen Chirp hinzufügen</translation>
    </message>
    <message>
        <source>Straight Key</source>
        <translation>Handtaste</translation>
    </message>
    <message>
        <source>Listen to an emulation of Morse being sent using a straight key</source>
        <translation>Morsezeichen hören, wie sie mit einer Handtaste gegeben werden</translation>
    </message>
    <message>
        <source>QRM</source>
        <translation>QRM</translation>
    </message>
    <message>
        <source>Add QRM to the session</source>
        <translation>Der Sitzung QRM (Störsender) hinzufügen</translation>
    </message>
    <message>
        <source>Speed Dither</source>
        <translation>Tempo schwankt</translation>
    </message>
    <message>
        <source>Dither the Morse speed by up to 5 WPM</source>
        <translation>Das Tempo um bis zu 5 WpM schwanken lassen</translation>
    </message>
    <message>
        <source>Pitch Dither</source>
        <translation>Ton schwankt</translation>
    </message>
    <message>
        <source>Dither the Pitch by +/- 25Hz</source>
        <translation>Die Tonhöhe um ±25 Hz schwanken lassen</translation>
    </message>
    <message>
        <source>Variable Weight</source>
        <translation>Gewicht schwankt</translation>
    </message>
    <message>
        <source>Randomly vary the element weighting</source>
        <translation>Die Gewichtung von Punkt und Strich zufällig ändern</translation>
    </message>
    <message>
        <source>Right-Click here for options.</source>
        <translation>Rechtsklick hier für Optionen.</translation>
    </message>
    <message>
        <source>Show Lumbrel</source>
        <translation>Lumbrel anzeigen</translation>
    </message>
    <message>
        <source>Time %1</source>
        <translation>Zeit %1</translation>
    </message>
    <message>
        <source>Stop the session and open Setup?</source>
        <translation>Die Sitzung anhalten und die Einstellungen öffnen?</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 gibt es schon.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>%1 and %2 already exist.
Do you want to replace them?</source>
        <translation>%1 und %2 gibt es schon.
Möchten Sie die Dateien ersetzen?</translation>
    </message>
    <message>
        <source>Create Audio File</source>
        <translation>Audiodatei anlegen</translation>
    </message>
    <message>
        <source>Audio WAV Files (*.wav)</source>
        <translation>WAV-Audiodateien (*.wav)</translation>
    </message>
    <message>
        <source>MP3 Audio Files (*.mp3)</source>
        <translation>MP3-Audiodateien (*.mp3)</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>  Recording armed: %1</source>
        <translation>  Aufnahme bereit: %1</translation>
    </message>
    <message>
        <source>A session is running. Stop it before you start a drill.</source>
        <translation>Eine Sitzung läuft. Halten Sie sie an, bevor Sie einen Drill beginnen.</translation>
    </message>
    <message>
        <source>Drills</source>
        <translation>Drills</translation>
    </message>
    <message>
        <source>No sound output: the drills need the sound output that sessions use.</source>
        <translation>Keine Tonausgabe: Die Drills brauchen die Tonausgabe der Sitzungen.</translation>
    </message>
    <message>
        <source>&amp;Session</source>
        <translation>&amp;Sitzung</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>&amp;Text File...</source>
        <translation>&amp;Textdatei...</translation>
    </message>
    <message>
        <source>&amp;Words</source>
        <translation>&amp;Wörter</translation>
    </message>
    <message>
        <source>W&amp;ord Files</source>
        <translation>W&amp;ortdateien</translation>
    </message>
    <message>
        <source>&amp;QSO&apos;s</source>
        <translation>&amp;QSOs</translation>
    </message>
    <message>
        <source>QSO &amp;Files</source>
        <translation>QSO-Datei&amp;en</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>Sto&amp;pp</translation>
    </message>
    <message>
        <source>&amp;Drills...</source>
        <translation>&amp;Drills...</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Select &amp;Font...</source>
        <translation>Schrift&amp;art wählen...</translation>
    </message>
    <message>
        <source>Single &amp;Words Only</source>
        <translation>Nur &amp;einzelne Wörter</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Save &amp;To File...</source>
        <translation>In Datei &amp;speichern...</translation>
    </message>
    <message>
        <source>Session time</source>
        <translation>Sitzungszeit</translation>
    </message>
    <message>
        <source>Sent text</source>
        <translation>Gesendeter Text</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>A session is running. Stop it before you send.</source>
        <translation>Eine Sitzung läuft. Beenden Sie sie, bevor Sie geben.</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Geben</translation>
    </message>
    <message>
        <source>Speak the &amp;answer</source>
        <translation>Antwort spre&amp;chen</translation>
    </message>
    <message>
        <source>S&amp;end...</source>
        <translation>&amp;Geben...</translation>
    </message>
    <message>
        <source>The sending could not be kept in the history: %1</source>
        <translation>Das Senden konnte nicht im Verlauf gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>lumbrel::PracticeOptionsBox</name>
    <message>
        <source>Practice</source>
        <translation>Übung</translation>
    </message>
    <message>
        <source>Introduce a new character</source>
        <translation>Neues Zeichen vorstellen</translation>
    </message>
    <message>
        <source>After the number of characters rose, the next session first plays the new character five times on its own, shown large.</source>
        <translation>Nachdem die Zahl der Zeichen gestiegen ist, spielt die nächste Sitzung zuerst das neue Zeichen fünfmal allein und zeigt es groß.</translation>
    </message>
    <message>
        <source>1 to 8 characters</source>
        <translation>1 bis 8 Zeichen</translation>
    </message>
    <message>
        <source>Fixed at 5</source>
        <translation>Fest 5</translation>
    </message>
    <message>
        <source>A range</source>
        <translation>Ein Bereich</translation>
    </message>
    <message>
        <source>&amp;Group length:</source>
        <translation>&amp;Gruppenlänge:</translation>
    </message>
    <message>
        <source>Shortest group</source>
        <translation>Kürzeste Gruppe</translation>
    </message>
    <message>
        <source>Longest group</source>
        <translation>Längste Gruppe</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
</context>
<context>
    <name>lumbrel::ProgressData</name>
    <message>
        <source>(none)</source>
        <translation>(nichts)</translation>
    </message>
</context>
<context>
    <name>lumbrel::ProgressWindow</name>
    <message>
        <source>dd MMM yyyy</source>
        <translation>dd. MMM yyyy</translation>
    </message>
    <message>
        <source>dd MMM</source>
        <translation>dd. MMM</translation>
    </message>
    <message>
        <source>dd MMM hh:mm</source>
        <translation>dd. MMM hh:mm</translation>
    </message>
    <message>
        <source>%1 (time of day, %2)</source>
        <translation>%1 (Uhrzeit, %2)</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Character</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Verfehlt</translation>
    </message>
    <message>
        <source>Error rate</source>
        <translation>Fehlerquote</translation>
    </message>
    <message>
        <source>Dropped</source>
        <translation>Fehlt</translation>
    </message>
    <message>
        <source>Wrong</source>
        <translation>Falsch</translation>
    </message>
    <message>
        <source>Taken for</source>
        <translation>Gehalten für</translation>
    </message>
    <message>
        <source>Rows: the character sent. Columns: what was copied for it.</source>
        <translation>Zeilen: das gesendete Zeichen. Spalten: was dafür mitgeschrieben wurde.</translation>
    </message>
    <message>
        <source>Last 10 sessions</source>
        <translation>Letzte 10 Sitzungen</translation>
    </message>
    <message>
        <source>Last 50 sessions</source>
        <translation>Letzte 50 Sitzungen</translation>
    </message>
    <message>
        <source>All sessions</source>
        <translation>Alle Sitzungen</translation>
    </message>
    <message>
        <source>Errors over:</source>
        <translation>Fehler über:</translation>
    </message>
    <message>
        <source>Error rates</source>
        <translation>Fehlerquoten</translation>
    </message>
    <message>
        <source>Confusions</source>
        <translation>Verwechslungen</translation>
    </message>
    <message>
        <source>Accuracy</source>
        <translation>Genauigkeit</translation>
    </message>
    <message>
        <source>Characters learnt</source>
        <translation>Gelernte Zeichen</translation>
    </message>
    <message>
        <source>Characters</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation>Erkennen</translation>
    </message>
    <message>
        <source>Callsign runs</source>
        <translation>Rufzeichen-Durchgänge</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Reaction time of:</source>
        <translation>Reaktionszeit von:</translation>
    </message>
    <message>
        <source>Played</source>
        <translation>Gespielt</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Richtig</translation>
    </message>
    <message>
        <source>Median time</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>Too late</source>
        <translation>Zu spät</translation>
    </message>
    <message>
        <source>Known</source>
        <translation>Sitzt</translation>
    </message>
    <message>
        <source>Reaction time</source>
        <translation>Reaktionszeit</translation>
    </message>
    <message>
        <source>Accuracy per character</source>
        <translation>Genauigkeit je Zeichen</translation>
    </message>
    <message>
        <source>No checked sessions yet. After a session, use File &gt; Check Copy.</source>
        <translation>Noch keine geprüften Sitzungen. Nach einer Sitzung: Datei &gt; Abschrift prüfen.</translation>
    </message>
    <message>
        <source>%1 checked session%2. The last: %3% on %4, %5 characters.</source>
        <translation>%1 geprüfte Sitzung%2. Die letzte: %3 % am %4, %5 Zeichen.</translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of session</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Was</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>&amp;Löschen...</translation>
    </message>
    <message>
        <source>%1, %2 characters, %3 WPM</source>
        <translation>%1, %2 Zeichen, %3 WpM</translation>
    </message>
    <message>
        <source>Recognition drill, %1 WPM</source>
        <translation>Erkennungsdrill, %1 WpM</translation>
    </message>
    <message>
        <source>%1 answers</source>
        <translation>%1 Antworten</translation>
    </message>
    <message>
        <source>Callsign run from %1 WPM</source>
        <translation>Rufzeichen-Durchgang ab %1 WpM</translation>
    </message>
    <message>
        <source>score %1</source>
        <translation>%1 Punkte</translation>
    </message>
    <message>
        <source>Delete %1 of %2 (%3) from the history? It cannot be undone.</source>
        <translation>%1 vom %2 (%3) aus dem Verlauf löschen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>the drill</source>
        <translation>Den Drill</translation>
    </message>
    <message>
        <source>the session</source>
        <translation>Die Sitzung</translation>
    </message>
    <message>
        <source>Delete from the history</source>
        <translation>Aus dem Verlauf löschen</translation>
    </message>
    <message>
        <source>Not deleted: %1</source>
        <translation>Nicht gelöscht: %1</translation>
    </message>
    <message>
        <source>All characters</source>
        <translation>Alle Zeichen</translation>
    </message>
    <message>
        <source>No recognition drills yet</source>
        <translation>Noch keine Erkennungsdrills</translation>
    </message>
    <message>
        <source>Median reaction time of each drill</source>
        <translation>Median der Reaktionszeit je Drill</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Target %1</source>
        <translation>Zielzeit %1</translation>
    </message>
    <message>
        <source>No recognition drills yet.</source>
        <translation>Noch keine Erkennungsdrills.</translation>
    </message>
    <message>
        <source>Over the last %1 drills, slowest first. Known: right %2 % of the time with a median under %3 (your target) in each of the last %4 drills with at least %5 answers of the character; keys before the character was heard count for nothing.</source>
        <translation>Über die letzten %1 Drills, das langsamste zuerst. Sitzt: in jedem der letzten %4 Drills mit mindestens %5 Antworten zum Zeichen zu %2 % richtig, mit einem Median unter %3 (Ihrer Zielzeit); Tasten vor dem Hören des Zeichens zählen nicht.</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>No callsign runs yet</source>
        <translation>Noch keine Rufzeichen-Durchgänge</translation>
    </message>
    <message>
        <source>Score of each run</source>
        <translation>Punkte je Durchgang</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Top speed (WPM)</source>
        <translation>Höchsttempo (WpM)</translation>
    </message>
    <message>
        <source>No callsign runs yet.</source>
        <translation>Noch keine Rufzeichen-Durchgänge.</translation>
    </message>
    <message>
        <source>%1 run%2. Best score %3 (%4). Fastest call copied: %5 WPM. The last run: %6 points, %7 of %8 calls missed.</source>
        <translation>%1 Runde%2. Bestwert %3 (%4). Schnellstes mitgeschriebenes Rufzeichen: %5 WpM. Die letzte Runde: %6 Punkte, %7 von %8 Rufzeichen verpasst.</translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of run</comment>
        <translation>n</translation>
    </message>
    <message>
        <source>WPM</source>
        <translation>WpM</translation>
    </message>
    <message>
        <source>No checked sessions yet</source>
        <translation>Noch keine geprüften Sitzungen</translation>
    </message>
    <message>
        <source>Accuracy of each checked session</source>
        <translation>Genauigkeit je geprüfter Sitzung</translation>
    </message>
    <message>
        <source>Accuracy (%)</source>
        <translation>Genauigkeit (%)</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <source>No checked random-group sessions yet</source>
        <translation>Noch keine geprüften Sitzungen mit Zufallsgruppen</translation>
    </message>
    <message>
        <source>Characters in use, by day</source>
        <translation>Zeichen in Gebrauch, je Tag</translation>
    </message>
    <message>
        <source>Characters (N)</source>
        <translation>Zeichen (N)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(nichts)</translation>
    </message>
    <message>
        <source>%1 copied as %2: %3 of %4 sent</source>
        <translation>%1 als %2 mitgeschrieben: %3 von %4 gesendeten</translation>
    </message>
    <message>
        <source>Export History</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Echo drill</source>
        <translation>Echo-Drill</translation>
    </message>
    <message>
        <source>Text sent</source>
        <translation>Text gegeben</translation>
    </message>
    <message>
        <source>Free sending</source>
        <translation>Freies Geben</translation>
    </message>
    <message>
        <source>Sending</source>
        <translation>Geben</translation>
    </message>
    <message>
        <source>All sendings</source>
        <translation>Alle Gebeübungen</translation>
    </message>
    <message>
        <source>S&amp;how:</source>
        <translation>&amp;Zeigen:</translation>
    </message>
    <message>
        <source>Accuracy and speed</source>
        <translation>Genauigkeit und Tempo</translation>
    </message>
    <message>
        <source>Fist</source>
        <translation>Handschrift</translation>
    </message>
    <message>
        <source>No sending practice yet.</source>
        <translation>Noch keine Gebeübungen.</translation>
    </message>
    <message>
        <source>No sendings of this kind yet.</source>
        <translation>Noch keine Gebeübungen dieser Art.</translation>
    </message>
    <message>
        <source>%1 sending%2. The last: %3 on %4.</source>
        <translation>%1 Gebeübung%2. Die letzte: %3 am %4.</translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of sending</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>%1 % right.</source>
        <translation>%1 % richtig.</translation>
    </message>
    <message>
        <source>%1 WPM, dah:dit %2, weighting %3 %.</source>
        <translation>%1 WpM, Dah:Dit %2, Gewichtung %3 %.</translation>
    </message>
    <message>
        <source>Its fist: %1</source>
        <translation>Ihre Handschrift: %1</translation>
    </message>
    <message>
        <source>Speed (WPM)</source>
        <translation>Tempo (WpM)</translation>
    </message>
    <message>
        <source>Dah:dit ratio</source>
        <translation>Verhältnis Dah:Dit</translation>
    </message>
    <message>
        <source>Element gap</source>
        <translation>Elementpause</translation>
    </message>
    <message>
        <source>Character gap</source>
        <translation>Zeichenpause</translation>
    </message>
    <message>
        <source>Word gap</source>
        <translation>Wortpause</translation>
    </message>
    <message>
        <source>Weighting (%)</source>
        <translation>Gewichtung (%)</translation>
    </message>
    <message>
        <source>Accuracy and speed of each sending</source>
        <translation>Genauigkeit und Tempo jeder Gebeübung</translation>
    </message>
    <message>
        <source>No sendings yet</source>
        <translation>Noch keine Gebeübungen</translation>
    </message>
    <message>
        <source>The fist of each sending, in dot units</source>
        <translation>Die Handschrift jeder Gebeübung, in Punktlängen</translation>
    </message>
    <message>
        <source>Dot units</source>
        <translation>Punktlängen</translation>
    </message>
    <message>
        <source>3 dot units</source>
        <translation>3 Punktlängen</translation>
    </message>
    <message>
        <source>Remove the selected session, drill or sending from the history</source>
        <translation>Die gewählte Sitzung, den Drill oder die Gebeübung aus dem Verlauf entfernen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>a kind of sending, its keyer</comment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 at %2 WPM</source>
        <translation>%1 mit %2 WpM</translation>
    </message>
    <message>
        <source>%1 WPM</source>
        <translation>%1 WpM</translation>
    </message>
    <message>
        <source>the sending</source>
        <translation>Die Gebeübung</translation>
    </message>
    <message>
        <source>straight key</source>
        <translation>Handtaste</translation>
    </message>
    <message>
        <source>iambic A</source>
        <translation>Iambic A</translation>
    </message>
    <message>
        <source>iambic B</source>
        <translation>Iambic B</translation>
    </message>
    <message>
        <source>bug</source>
        <translation>Bug</translation>
    </message>
</context>
<context>
    <name>lumbrel::RigFollower</name>
    <message>
        <source>Keying the rig on %1.</source>
        <translation>Das Funkgerät wird über %1 getastet.</translation>
    </message>
</context>
<context>
    <name>lumbrel::SendWindow</name>
    <message>
        <source>Straight key</source>
        <translation>Handtaste</translation>
    </message>
    <message>
        <source>Iambic A</source>
        <translation>Iambic A</translation>
    </message>
    <message>
        <source>Iambic B</source>
        <translation>Iambic B</translation>
    </message>
    <message>
        <source>Bug</source>
        <translation>Bug</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Geben</translation>
    </message>
    <message>
        <source>%1, %2 WPM (Setup, &quot;Sending&quot;)</source>
        <translation>%1, %2 WpM (Einstellungen, „Geben“)</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Free sending</source>
        <translation>Freies Geben</translation>
    </message>
    <message>
        <source>Echo: characters</source>
        <translation>Echo: Zeichen</translation>
    </message>
    <message>
        <source>Echo: words</source>
        <translation>Echo: Wörter</translation>
    </message>
    <message>
        <source>Echo: calls</source>
        <translation>Echo: Rufzeichen</translation>
    </message>
    <message>
        <source>Echo: abbreviations</source>
        <translation>Echo: Abkürzungen</translation>
    </message>
    <message>
        <source>Send a text</source>
        <translation>Einen Text geben</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Decoded text</source>
        <translation>Gelesener Text</translation>
    </message>
    <message>
        <source>Fist report</source>
        <translation>Bericht über die Gebeweise</translation>
    </message>
    <message>
        <source>Choose a word list or a text file.</source>
        <translation>Wählen Sie eine Wortliste oder eine Textdatei.</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Listen…</source>
        <translation>Hören …</translation>
    </message>
    <message>
        <source>Key it back</source>
        <translation>Geben Sie es zurück</translation>
    </message>
    <message>
        <source>Send: %1</source>
        <translation>Geben: %1</translation>
    </message>
    <message>
        <source>Send anything; a pause or Enter ends the line.</source>
        <translation>Geben Sie, was Sie wollen; eine Pause oder die Eingabetaste beendet die Zeile.</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nichts</translation>
    </message>
    <message>
        <source>Right: %1</source>
        <translation>Richtig: %1</translation>
    </message>
    <message>
        <source>Wrong: %1 was played, %2 sent</source>
        <translation>Falsch: %1 wurde gespielt, %2 gegeben</translation>
    </message>
    <message>
        <source>%1 of %2 characters right: %3</source>
        <translation>%1 von %2 Zeichen richtig: %3</translation>
    </message>
    <message>
        <source>Read: %1</source>
        <translation>Gelesen: %1</translation>
    </message>
    <message>
        <source>Echo drill over: %1 % right.</source>
        <translation>Echo-Übung beendet: %1 % richtig.</translation>
    </message>
    <message>
        <source>Text over: %1 % of the characters right.</source>
        <translation>Text beendet: %1 % der Zeichen richtig.</translation>
    </message>
    <message>
        <source>%1 ± %2</source>
        <translation>%1 ± %2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Speed %1 WPM</source>
        <translation>Tempo %1 WpM</translation>
    </message>
    <message>
        <source>, dah:dit %1</source>
        <translation>, Dah:Dit %1</translation>
    </message>
    <message>
        <source>, weighting %1 %</source>
        <translation>, Gewichtung %1 %</translation>
    </message>
    <message>
        <source>In dot units: dots %1, dashes %2</source>
        <translation>In Punktlängen: Punkte %1, Striche %2</translation>
    </message>
    <message>
        <source>Gaps in dot units: element %1, character %2, word %3</source>
        <translation>Pausen in Punktlängen: Element %1, Zeichen %2, Wort %3</translation>
    </message>
    <message>
        <source>Practice</source>
        <translation>Übung</translation>
    </message>
    <message>
        <source>Word list or text file to send</source>
        <translation>Wortliste oder Textdatei zum Geben</translation>
    </message>
    <message>
        <source>Nothing to play: no character is in use, or the file of these items cannot be read.</source>
        <translation>Nichts zu spielen: kein Zeichen ist in Gebrauch, oder die Datei dieser Einträge kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>lumbrel::SendingArea</name>
    <message>
        <source>Sending area</source>
        <translation>Gebefläche</translation>
    </message>
    <message>
        <source>Each mark you send, above the ideal at the keyer&apos;s speed</source>
        <translation>Jedes gegebene Element, über dem Ideal beim Tempo des Keyers</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gegeben</translation>
    </message>
    <message>
        <source>Ideal</source>
        <translation>Ideal</translation>
    </message>
</context>
<context>
    <name>lumbrel::SendingDrills</name>
    <message>
        <source>%1 has no character of the character list.</source>
        <translation>%1 enthält kein Zeichen der Zeichenliste.</translation>
    </message>
    <message>
        <source>%1 holds no word to send.</source>
        <translation>%1 enthält kein Wort zum Geben.</translation>
    </message>
    <message>
        <source>%1 holds no text to send.</source>
        <translation>%1 enthält keinen Text zum Geben.</translation>
    </message>
</context>
<context>
    <name>lumbrel::SendingPractice</name>
    <message>
        <source>The rig is not keyed: %1.</source>
        <translation>Das Funkgerät wird nicht getastet: %1.</translation>
    </message>
    <message>
        <source>This sound output cannot play a sidetone.</source>
        <translation>Diese Tonausgabe kann keinen Mithörton spielen.</translation>
    </message>
    <message>
        <source>No sound output: the sidetone needs the output sessions use.</source>
        <translation>Keine Tonausgabe: Der Mithörton braucht die Ausgabe, die die Sitzungen nutzen.</translation>
    </message>
    <message>
        <source>no rig port</source>
        <translation>kein Anschluss zum Tasten des Funkgeräts</translation>
    </message>
</context>
<context>
    <name>lumbrel::SendingSetupPage</name>
    <message>
        <source>Straight key</source>
        <translation>Handtaste</translation>
    </message>
    <message>
        <source>Iambic A</source>
        <translation>Iambic A</translation>
    </message>
    <message>
        <source>Iambic B</source>
        <translation>Iambic B</translation>
    </message>
    <message>
        <source>Bug</source>
        <translation>Bug</translation>
    </message>
    <message>
        <source>&amp;Keyer:</source>
        <translation>&amp;Keyer:</translation>
    </message>
    <message>
        <source> WPM</source>
        <translation> WpM</translation>
    </message>
    <message>
        <source>&amp;Speed:</source>
        <translation>&amp;Tempo:</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>50 %: a mark as long as the gap after it</source>
        <translation>50 %: ein Element so lang wie die Pause danach</translation>
    </message>
    <message>
        <source>&amp;Weighting:</source>
        <translation>&amp;Gewichtung:</translation>
    </message>
    <message>
        <source> tenths</source>
        <translation> Zehntel</translation>
    </message>
    <message>
        <source>A dash&apos;s length in tenths of a dot: 30 is three dots</source>
        <translation>Die Länge eines Strichs in Zehnteln eines Punkts: 30 sind drei Punkte</translation>
    </message>
    <message>
        <source>&amp;Dash ratio:</source>
        <translation>&amp;Strichverhältnis:</translation>
    </message>
    <message>
        <source>Dot &amp;memory</source>
        <translation>Punkt&amp;speicher</translation>
    </message>
    <message>
        <source>Sidetone &amp;volume:</source>
        <translation>Mithörton-&amp;Lautstärke:</translation>
    </message>
    <message>
        <source>Dit paddle key:</source>
        <translation>Taste für Punkt-Paddle:</translation>
    </message>
    <message>
        <source>Dah paddle key:</source>
        <translation>Taste für Strich-Paddle:</translation>
    </message>
    <message>
        <source>Straight key:</source>
        <translation>Handtaste:</translation>
    </message>
    <message>
        <source>Click, then press the key to use</source>
        <translation>Klicken, dann die gewünschte Taste drücken</translation>
    </message>
    <message>
        <source>A key on the serial port&apos;s DSR (dit), CTS (dah) and DCD (straight key) lines</source>
        <translation>Eine Taste an den Leitungen DSR (Punkt), CTS (Strich) und DCD (Handtaste) der seriellen Schnittstelle</translation>
    </message>
    <message>
        <source>Serial &amp;port key:</source>
        <translation>Taste an serieller &amp;Schnittstelle:</translation>
    </message>
    <message>
        <source>MIDI key &amp;adapter:</source>
        <translation>MIDI-Tasten&amp;adapter:</translation>
    </message>
    <message>
        <source>MIDI port</source>
        <translation>MIDI-Port</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Scan code %1</source>
        <translation>Scancode %1</translation>
    </message>
    <message>
        <source>The first adapter found</source>
        <translation>Der erste gefundene Adapter</translation>
    </message>
    <message>
        <source>No MIDI device is plugged in.</source>
        <translation>Kein MIDI-Gerät ist angeschlossen.</translation>
    </message>
    <message numerus="yes">
        <source>%n MIDI port(s) found.</source>
        <translation>
            <numerusform>%n MIDI-Port gefunden.</numerusform>
            <numerusform>%n MIDI-Ports gefunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Key the rig while sending</source>
        <translation>Beim Geben das Funkgerät tasten</translation>
    </message>
    <message>
        <source>DTR and RTS of the rig control port (first page) follow each mark as you hear it</source>
        <translation>DTR und RTS des Anschlusses zum Tasten des Funkgeräts (erste Seite) folgen jedem Zeichenteil, so wie Sie ihn hören</translation>
    </message>
</context>
<context>
    <name>lumbrel::SerialKeyReader</name>
    <message>
        <source>Serial key: no port chosen in Setup.</source>
        <translation>Taste an serieller Schnittstelle: In den Einstellungen ist keine Schnittstelle gewählt.</translation>
    </message>
    <message>
        <source>Serial key: %1 cannot be opened (%2).</source>
        <translation>Taste an serieller Schnittstelle: %1 kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>Serial key: %1 has no modem lines (%2).</source>
        <translation>Taste an serieller Schnittstelle: %1 hat keine Modemleitungen (%2).</translation>
    </message>
    <message>
        <source>Serial key: %1 went away.</source>
        <translation>Taste an serieller Schnittstelle: %1 ist verschwunden.</translation>
    </message>
    <message>
        <source>Serial key: %1 (DSR, CTS, DCD).</source>
        <translation>Taste an serieller Schnittstelle: %1 (DSR, CTS, DCD).</translation>
    </message>
</context>
<context>
    <name>lumbrel::SessionRecord</name>
    <message>
        <source>Random groups</source>
        <translation>Zufallsgruppen</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Wörter</translation>
    </message>
    <message>
        <source>QSO</source>
        <translation>QSO</translation>
    </message>
    <message>
        <source>Text file</source>
        <translation>Textdatei</translation>
    </message>
</context>
<context>
    <name>lumbrel::Trainer</name>
    <message>
        <source>Display will reveal at the end of the training session.</source>
        <translation>Der Text erscheint am Ende der Übungssitzung.</translation>
    </message>
    <message>
        <source>(Display Delay &apos;Hide&apos; option selected).</source>
        <translation>(Verzögerung „Verbergen“ gewählt).</translation>
    </message>
    <message>
        <source>  %1 characters sent</source>
        <translation>  %1 Zeichen gesendet</translation>
    </message>
    <message>
        <source>  No sound output</source>
        <translation>  Keine Tonausgabe</translation>
    </message>
    <message>
        <source>No sound output: %1 Check that PipeWire or PulseAudio is running and that an output device is selected in the desktop&apos;s sound settings.</source>
        <translation>Keine Tonausgabe: %1 Prüfen Sie, ob PipeWire oder PulseAudio läuft und in den Klangeinstellungen des Desktops ein Ausgabegerät gewählt ist.</translation>
    </message>
    <message>
        <source>%1 WPM plays at %2 WPM, the slowest effective speed at %3 WPM</source>
        <translation>%1 WpM klingt wie %2 WpM, die langsamste effektive Geschwindigkeit bei %3 WpM</translation>
    </message>
    <message>
        <source>  Effective speed: </source>
        <translation>  Effektive Geschwindigkeit: </translation>
    </message>
    <message>
        <source>Sound output failed: %1
The session was stopped.</source>
        <translation>Die Tonausgabe ist ausgefallen: %1
Die Sitzung wurde angehalten.</translation>
    </message>
    <message>
        <source>Sound output failed during the session: %1</source>
        <translation>Die Tonausgabe ist während der Sitzung ausgefallen: %1</translation>
    </message>
    <message>
        <source>No word of the word file is made only of the %1 characters in use.</source>
        <translation>Kein Wort der Wortdatei besteht nur aus den %1 Zeichen in Gebrauch.</translation>
    </message>
    <message>
        <source>%1 is not played yet: text files play once every character is in use. Raise &quot;Characters&quot; to %2 (now %3), then open the file with Text File or drop it on the window.</source>
        <translation>%1 wird noch nicht gespielt: Textdateien spielen erst, wenn alle Zeichen in Gebrauch sind. Stellen Sie „Zeichen“ auf %2 (jetzt %3) und öffnen Sie die Datei dann mit Textdatei oder ziehen Sie sie auf das Fenster.</translation>
    </message>
</context>
</TS>
