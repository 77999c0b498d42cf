#include "recording/RecordCommand.h"

namespace lumbrel {

QString DefaultRecordingName(int characters, int wpm, int effectiveWpm) {
    return QString::asprintf("Lumbrel_%02d_%02d_%02d", characters, wpm, effectiveWpm);
}

RecordingNames ChooseRecordingNames(const QString& chosenPath, bool mp3Type) {
    const QLatin1String ending = mp3Type ? QLatin1String(".mp3") : QLatin1String(".wav");
    RecordingNames names;
    names.transcriptFile = chosenPath;
    // Only an ending counts: ".wav" in a folder name or inside the name is part of the name.
    if (chosenPath.endsWith(ending, Qt::CaseInsensitive)) {
        names.audioFile = chosenPath;
        names.transcriptFile.chop(ending.size());
    } else {
        names.audioFile = chosenPath + ending;
    }
    names.transcriptFile += QLatin1String(".txt");
    return names;
}

}  // namespace lumbrel
