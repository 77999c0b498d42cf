<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutForm</name>
    <message>
        <source>About Lumbrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumbrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Koch Method Morse Trainer by Zelph Software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to see the Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Koch method</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comments and Bug Reports to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DefineMorseForm</name>
    <message>
        <source>Define New Morse Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step One</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the character you wish to modfy or delete from the dropdown list. To create a new character click on the &apos;New&apos; button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the Morse definition to work on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step Two</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the box below type in the characters(s) that you want to see when the Morse is generated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displayed Character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the visual representation of the Morse Character here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step Three</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the box below enter the Morse code for the new character, use minus for a dash and full stop (period) for a dot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Code To Generate (use . and - only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the dots and dashes here to sound out the character here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Define a new Morse character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete currently displayed Morse definition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished defining Morse characters</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MP3RecordingForm</name>
    <message>
        <source>MP3 Recording Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;MP3 encoding is subject to patents and royalties in some countries, so Lumbrel does not encode MP3 itself. It records a session to an MP3 file through the LAME encoder library, which you install separately.&lt;/p&gt;&lt;p&gt;On Debian and Ubuntu install the package &lt;b&gt;libmp3lame0&lt;/b&gt; (for example: &lt;tt&gt;sudo apt install libmp3lame0&lt;/tt&gt;); on other systems install your distribution&apos;s LAME library (libmp3lame.so.0). Then start Lumbrel again: &quot;Record Audio File&quot; in the File menu offers MP3 first, at the bit rate chosen on the &quot;General Setup&quot; page of Setup.&lt;/p&gt;&lt;p&gt;Without the library every recording is a WAV file.&lt;/p&gt;&lt;p&gt;MP3 recording uses LAME, the free MP3 encoder of the LAME project.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Select Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Colour...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The colour of the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Audio File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::AboutDialog</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Koch method teaches Morse code by ear, at full speed from the first lesson.

Set the character speed to the speed you want to reach in the end (20 words per minute or more) and start with only two characters. Listen to a five-minute session of random groups and copy it on paper, then compare your copy with the text that Lumbrel shows.

When your copy reaches 90 percent accuracy, add one more character and carry on. Because every character is heard at full speed from the start, you learn its sound as a whole rhythm instead of counting dots and dashes, and there is no slow-speed plateau to break through later.

If the full speed is too hard at first, keep the character speed and slow down the effective speed, which only stretches the gaps between characters and words.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::Application</name>
    <message>
        <source>An unknown error occurred.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::CheckCopyDialog</name>
    <message>
        <source>%1 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (effective %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 characters (%2 order)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 characters sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type or paste what you copied on paper, then press Check. Case, spaces and line breaks do not count. Write a prosign as &lt;sk&gt; or ^sk, or as +, = and ( for ^ar, ^bt and ^kn.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What you copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 wrong &amp;nbsp; %2 dropped (not copied) &amp;nbsp; %3 added (copied, not sent)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sent  </source>
        <comment>as wide as the copy line&apos;s label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy  </source>
        <comment>as wide as the sent line&apos;s label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to check: type or paste what you copied first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 characters sent: %2 right, %3 wrong, %4 dropped; %5 added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the next character: %1 (%2 characters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Well copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1% or more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1% or more: time for the next character.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1% or more with every character: nothing more to add.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed most: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The character count has changed since this session; nothing was added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added %1: now %2 characters</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::ConfigureDialog</name>
    <message>
        <source>Configure Codes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Morse Character Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Common Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Straight key Fist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Dither</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+/- 2.5 WPM or +/- 5WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Recording Bit Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bit Rate for MP3 Audio Recordings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>32 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>48 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>64 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>96 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>112 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>128 Kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effective Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Word</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Learning Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use MFJ 418 Learning Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Favour Recently Added Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Favour characters I miss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Random groups bring the characters you missed most in your last checked sessions and drills more often; every character still comes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rig Control Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a COM port to provide the rig control sginal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A serial device for the rig control signal, such as a USB adapter (/dev/ttyUSB0). Leave empty to use the COM port chosen above; keying is off with &quot;Off&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial &amp;device:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Session Length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the length of the training sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5 Minutes is the recommended study interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting Delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the time you need to get ready before the Morse starts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay after Clicking Start before Morse Starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound Card Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Windows Callbacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the setting of this box and restart the application if you only hear a couple of Morse characters after pressing the Start button or you get clicks on the audio or you get an error in RichEdit.DLL.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Sound System Callbacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checked, the sound system&apos;s own thread reports each played buffer; unchecked, the report goes through the window&apos;s message queue. Change the setting of this box and restart the application if you only hear a couple of Morse characters after pressing the Start button or you get clicks on the audio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change this setting if you cannot hear Morse or there are clicks in the audio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Morse Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck a character to exclude it from a training session.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn off all characters from the session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn on all characters in the session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Define</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Define new Morse Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck characters here to remove them from a training session.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting Letter of Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck the starting letter of words you do not want in the lesson</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Word Length</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::CopyChecking</name>
    <message>
        <source>&amp;Check Copy...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check what you copied of the last session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Progress...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your accuracy, the characters learnt and the errors per character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved: the history cannot be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved to your progress history.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::DrillsDialog</name>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drills</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Time limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>or &amp;minutes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ta&amp;rget:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start with two characters, &amp;add the next as each is known</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instant &amp;recognition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> calls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Calls:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start s&amp;peed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>St&amp;ep:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top spee&amp;d:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Vary the pitch of each call (within %1 Hz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only calls I &amp;missed before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;tart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Co&amp;py:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Callsign r&amp;uns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Band conditions of the main window (noise, signal, fading)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recognition: type the character you hear, once it has ended. Callsigns: type the call, Enter; F5 plays it again (half points). Esc ends the drill.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One replay per call.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history cannot be used (%1); this drill is not kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No characters are in use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the character you hear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the call, then Enter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Character %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Character %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · %1 characters: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: right in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You typed %1; it was %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too late; it was %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 before it was heard: not counted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 points at %2 WPM · score %3 · next %4 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This drill could not be kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Target %1: a character is known when it is right in %2 % of at least %3 answers with a median under the target, in each of the last %4 drills. A key before the character was heard is early and counts for nothing.&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Character&lt;/th&gt;&lt;th&gt;Accuracy&lt;/th&gt;&lt;th&gt;Median&lt;/th&gt;&lt;th&gt;Early&lt;/th&gt;&lt;th&gt;Known&lt;/th&gt;&lt;/tr&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done: %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Score %1&lt;/b&gt; · top speed %2 WPM · %3 of %4 calls missed&lt;br&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your first run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new best score (before: %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best score so far: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Missed:&lt;/p&gt;&lt;table cellpadding=3&gt;&lt;tr&gt;&lt;th&gt;Call&lt;/th&gt;&lt;th&gt;Copied&lt;/th&gt;&lt;th&gt;WPM&lt;/th&gt;&lt;th&gt;Points&lt;/th&gt;&lt;/tr&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done: score %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call (red: missed)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sound output: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::MainWindow</name>
    <message>
        <source>Select the overall code speed, this changes the gap between Morse characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to listen to random groups of Morse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text FIle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to listen to a text file in Morse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to listen to random words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QSO&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to listen to random QSO&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to stop the current operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to stop the current session or close the application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to configure the software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Audio File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single Words Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save To File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Countdown to the start of a training session or the elapsed time into this session.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay, in characters, between the sound and the tex, or select Hide to only display the text at the end of the lesson</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the pitch of the Morse being sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the number of characters in the session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Character Speed (WPM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the characer transmission speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effective Code Speed (WPM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Noise Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Random Noise to the Morse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signal Strength</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify the siignal strength of the Morse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QSB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add QSB to the Morse Signal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable the QSB (fading) feature.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the speed at which the QSB occurs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the style of QSB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chirp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Chirp to the Morse Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Straight Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listen to an emulation of Morse being sent using a straight key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QRM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add QRM to the session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Dither</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dither the Morse speed by up to 5 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pitch Dither</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dither the Pitch by +/- 25Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Variable Weight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Randomly vary the element weighting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right-Click here for options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Lumbrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the session and open Setup?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2 already exist.
Do you want to replace them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Audio File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio WAV Files (*.wav)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Audio Files (*.mp3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Recording armed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A session is running. Stop it before you start a drill.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drills</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sound output: the drills need the sound output that sessions use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Text File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W&amp;ord Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;QSO&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QSO &amp;Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drills...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;Font...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single &amp;Words Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;To File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Session time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumbrel::ProgressWindow</name>
    <message>
        <source>dd MMM yyyy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dd MMM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dd MMM hh:mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (time of day, %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rows: the character sent. Columns: what was copied for it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 10 sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 50 sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Errors over:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error rates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confusions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Characters learnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Callsign runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reaction time of:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Played</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Median time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too late</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Known</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reaction time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy per character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No checked sessions yet. After a session, use File &gt; Check Copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 checked session%2. The last: %3% on %4, %5 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of session</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the selected session or drill from the history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 characters, %3 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recognition drill, %1 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Callsign run from %1 WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>score %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 of %2 (%3) from the history? It cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the drill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete from the history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not deleted: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recognition drills yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Median reaction time of each drill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recognition drills yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over the last %1 drills, slowest first. Known: right %2 % of the time with a median under %3 (your target) in each of the last %4 drills with at least %5 answers of the character; keys before the character was heard count for nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No callsign runs yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Score of each run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Score</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top speed (WPM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No callsign runs yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 run%2. Best score %3 (%4). Fastest call copied: %5 WPM. The last run: %6 points, %7 of %8 calls missed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <comment>plural ending of run</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No checked sessions yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy of each checked session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No checked random-group sessions yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Characters in use, by day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Characters (N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(none)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copied as %2: %3 of %4 sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
