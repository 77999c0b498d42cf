#pragma once
// The file names of the "Record Audio File" command: the name the save dialog starts
// with, and what a chosen path becomes for the recording and its transcript.
#include <QString>

namespace lumbrel {

// "Lumbrel_%02d_%02d_%02d" from the number of characters selected for the session,
// the character speed and the effective speed in WPM: 5, 20, 15 give Lumbrel_05_20_15.
QString DefaultRecordingName(int characters, int wpm, int effectiveWpm);

struct RecordingNames {
    QString audioFile;       // the file to record to
    QString transcriptFile;  // the transcript saved beside it at the end of the session
};

// What a path chosen in the save dialog becomes. The format follows the chosen file
// type, not the typed extension: for WAV a name already ending in ".wav" (any case) is
// kept, otherwise ".wav" is appended; likewise ".mp3" for MP3. The transcript is the
// path without that ending plus ".txt".
//   "/rec/test", WAV      -> /rec/test.wav,      /rec/test.txt
//   "/rec/test.WAV", WAV  -> /rec/test.WAV,      /rec/test.txt
//   "/rec/x.wav", MP3     -> /rec/x.wav.mp3,     /rec/x.wav.txt
//   "/my.wave/take1", WAV -> /my.wave/take1.wav, /my.wave/take1.txt
RecordingNames ChooseRecordingNames(const QString& chosenPath, bool mp3Type);

}  // namespace lumbrel
