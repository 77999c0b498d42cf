// The trainer's word, QSO and text-file commands: "Words", "QSO's" and "Play Text
// File" with their drop-down lists and file drops, and what the symbol sources ask of
// the session while such a session runs.
#include <QDir>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "morse/LearningOrders.h"
#include "session/Trainer.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/ParameterLine.h"
#include "text/QsoGenerator.h"
#include "text/RealCalls.h"
#include "text/TextEncoding.h"

namespace lumbrel {
namespace {

const QString kWordsCaption = QStringLiteral("Words");
const QString kQsoCaption = QStringLiteral("QSO's");
const QString kTextFileCaption = QStringLiteral("Play Text File");

// A drop-down item's file name: the name as the menu passes it when a file of the
// folder has it (so "A&B.txt" plays itself, not "AB.txt"); otherwise the caption
// without its first "&", an accelerator marker a menu may have added.
QString ItemFileName(const QString& folder, const QString& caption) {
    if (QFileInfo(ResolveProgramPath(folder, caption)).isFile())
        return caption;
    QString name = caption;
    const qsizetype amp = name.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        name.remove(amp, 1);
    return name;
}

}  // namespace

// --- Commands ---------------------------------------------------------------------------

QString Trainer::ProgramFolder() const {
    return programFolder_.isEmpty() ? DefaultProgramFolder() : programFolder_;
}

bool Trainer::AllCharactersInUse() const {
    return !characters_.CharacterList().empty() && CharacterCount() == CharacterCountMaximum();
}

bool Trainer::SourceCommandAllowed() const {
    // Never a second pipeline over buffers still in flight, nor a start during the
    // countdown; the sources send every character of the list, so all must be in use.
    return !SessionActive() && !sessionClock_.CountdownPending() && AllCharactersInUse();
}

void Trainer::PlayCurrentWordFile() {
    if (!SourceCommandAllowed())
        return;
    list_.path = ResolveProgramPath(ProgramFolder(), settings_.SettingCopies().commonWordFile);
    if (!QFileInfo(list_.path).isFile())
        return;
    list_.asWords = true;
    list_.oneEntry = false;
    PlayEntryList();
}

QStringList Trainer::WordsPopupMenuPopup() const {
    QStringList items = ListTextFiles(ResolveProgramPath(ProgramFolder(), QLatin1String(kWordFilesFolder)));
    items.prepend(QLatin1String(kMyCharacterWords));
    return items;
}

void Trainer::PlayWordFile(const QString& caption) {
    if (caption == QLatin1String(kMyCharacterWords))
        PlayMyCharacterWords();
    else
        PlayChosenList(QLatin1String(kWordFilesFolder), caption, true);
}

bool Trainer::PlayMyCharacterWords() {
    // Not all characters need be learnt; the rest of SourceCommandAllowed holds.
    if (SessionActive() || sessionClock_.CountdownPending() || characters_.CharacterList().empty())
        return false;
    const QString path = ResolveProgramPath(ProgramFolder(), settings_.SettingCopies().commonWordFile);
    const EntryListOptions options{
        .filterAsWords = true,
        .wordFilter = settings_.SettingCopies().wordFilter,
        .maxWordLength = settings_.SettingCopies().maxWordLength,
        .sizeLimit = 0,
    };
    EntryLoadResult loaded = LoadEntryList(path, options, random_);
    if (loaded.status != EntryLoadStatus::Loaded) {
        if (loaded.status != EntryLoadStatus::Missing)
            host_.ShowMessage(loaded.problem, kWordsCaption, MessageKind::Warning);
        return false;
    }
    const int inUse = CharacterCount();
    loaded.entries.removeIf([&](const QByteArray& word) {
        for (const QChar c : QString::fromUtf8(word)) {
            const int position = characters_.LookUpTextCharacter(c.unicode());
            if (position < 1 || position > inUse)
                return true;
        }
        return false;
    });
    if (loaded.entries.isEmpty()) {
        host_.ShowMessage(
            QCoreApplication::translate("lumbrel::Trainer",
                                        "No word of the word file is made only of the %1 characters in use.")
                .arg(inUse),
            kWordsCaption, MessageKind::Information);
        return false;
    }
    LimitEntries(loaded.entries, CommonWordsLimit(settings_.Store().Read(keys::CommonWordsSize)), random_);
    list_ = ListChoice{path, true, false};
    return PlayEntries(std::move(loaded.entries));
}

void Trainer::PlayCurrentQsoFile() {
    if (!SourceCommandAllowed())
        return;
    const QString path = ResolveProgramPath(ProgramFolder(), settings_.SettingCopies().qsoFile);
    if (!QFileInfo(path).isFile())
        return;
    list_ = ListChoice{path, false, true};
    PlayEntryList();
}

QStringList Trainer::QSOPopupMenuPopup() const {
    QStringList items = ListTextFiles(ResolveProgramPath(ProgramFolder(), QLatin1String(kQsoFilesFolder)));
    items.prepend(QLatin1String(kGeneratedContact));
    return items;
}

void Trainer::PlayQsoFile(const QString& caption) {
    if (caption == QLatin1String(kGeneratedContact))
        PlayGeneratedContact();
    else
        PlayChosenList(QLatin1String(kQsoFilesFolder), caption, false);
}

bool Trainer::PlayGeneratedContact() {
    if (!SourceCommandAllowed())
        return false;
    // Two short draws make the generator's seed, so that the session's seed decides the contact.
    const auto high = static_cast<std::uint32_t>(random_.Next(32768));
    const auto seed = high << 15 | static_cast<std::uint32_t>(random_.Next(32768));
    qsos::QsoGenerator generator(seed);
    list_ = ListChoice{QString(), false, true};
    return PlayEntries({QByteArray::fromStdString(generator.Next().text)});
}

// A file of a drop-down list chosen: it becomes the current word or QSO file and plays.
bool Trainer::PlayChosenList(const QString& subfolder, const QString& caption, bool asWords) {
    if (!SourceCommandAllowed())
        return false;
    const QString folder = ProgramFolder();
    const QString name = ItemFileName(ResolveProgramPath(folder, subfolder), caption);
    const QString current = QStringLiteral("\\%1\\%2").arg(subfolder, name);
    settings_.SetCurrentListFile(asWords, current);
    list_ = ListChoice{ResolveProgramPath(folder, current), asWords, !asWords};
    return PlayEntryList();
}

void Trainer::SetEntryListSource(const QString& path, bool filterAsWords, bool endAfterOneEntry) {
    list_ = ListChoice{path, filterAsWords, endAfterOneEntry};
}

bool Trainer::PlayEntryList() {
    if (!SourceCommandAllowed())
        return false;
    sources_.Entries().Clear();
    // A missing file: nothing happens, no message.
    if (!QFileInfo::exists(list_.path))
        return false;

    const EntryListOptions options{
        .filterAsWords = list_.asWords,
        .wordFilter = settings_.SettingCopies().wordFilter,
        .maxWordLength = settings_.SettingCopies().maxWordLength,
        .sizeLimit = list_.asWords ? CommonWordsLimit(settings_.Store().Read(keys::CommonWordsSize)) : 0,
    };
    // The shipped sample of real calls gives way to the whole list when it is installed.
    QString path = list_.path;
    const QString sample = ResolveProgramPath(ProgramFolder(), QString::fromLatin1(kCallSampleName));
    const bool realCalls = list_.asWords && QFileInfo(path) == QFileInfo(sample);
    if (realCalls)
        path = RealCallsPath(ProgramFolder());
    EntryLoadResult loaded = LoadEntryList(path, options, random_);
    if (realCalls)
        loaded.entries.removeIf([](const QByteArray& entry) { return entry.startsWith('#'); });
    if (loaded.status == EntryLoadStatus::Missing)
        return false;
    if (loaded.status != EntryLoadStatus::Loaded) {
        host_.ShowMessage(loaded.problem, list_.asWords ? kWordsCaption : kQsoCaption, MessageKind::Warning);
        return false;
    }
    return PlayEntries(std::move(loaded.entries));
}

bool Trainer::PlayEntries(QList<QByteArray> entries) {
    // A list that yields no entry: no session, and nothing else changes.
    if (entries.isEmpty())
        return false;

    // Every character of the list takes part.
    WriteFirstCharactersMask(settings_.Store(), CharacterCount());
    characters_.LearningModeRefresh();
    charactersSent_ = -2;
    sources_.Select(SourceKind::RandomEntries);

    OfferCommands(false);
    sessionClock_.RestartTicks();
    sent_.Clear();
    sources_.Entries().Begin(std::move(entries), list_.oneEntry);
    if (!BeginSession()) {
        OfferCommands(true);
        return false;
    }
    display_.SetWordListSession(true);
    return true;
}

void Trainer::PlayChosenTextFile(const QString& path) {
    if (path.isEmpty())
        return;
    PlayTextFile(path);
}

void Trainer::FileDropped(const QString& path) {
    droppedName_ = path;
}

void Trainer::DropFinished() {
    const QString name = std::exchange(droppedName_, QString());
    // The file's own name decides, so that a folder called "x.txt" lets in nothing.
    if (name.isEmpty() || !AllCharactersInUse() ||
        !QFileInfo(name).fileName().toUpper().contains(QLatin1String(".TXT")))
        return;
    PlayTextFile(name);
}

void Trainer::FilesDropped(const QStringList& paths) {
    for (const QString& path : paths)
        FileDropped(path);
    DropFinished();
}

void Trainer::PlayFileArguments(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    const QString path = QFileInfo(paths.last()).absoluteFilePath();
    if (!AllCharactersInUse()) {
        host_.ShowMessage(QCoreApplication::translate(
                              "lumbrel::Trainer",
                              "%1 is not played yet: text files play once every character is in use. "
                              "Raise \"Characters\" to %2 (now %3), then open the file with Text File "
                              "or drop it on the window.")
                              .arg(QDir::toNativeSeparators(path))
                              .arg(CharacterCountMaximum())
                              .arg(CharacterCount()),
                          kTextFileCaption);
        return;
    }
    PlayTextFile(path);
}

bool Trainer::PlayTextFile(const QString& path) {
    if (!SourceCommandAllowed())
        return false;
    if (!sources_.Text().Open(path)) {
        host_.ShowMessage(sources_.Text().Error(), kTextFileCaption, MessageKind::Warning);
        return false;
    }
    sources_.Entries().Clear();  // the lines take the entry list's place
    charactersSent_ = -2;
    sources_.Select(SourceKind::SequentialText);
    OfferCommands(false);
    sessionClock_.RestartTicks();

    const bool stations = sources_.Text().StationLines();
    sent_.Clear();
    if (stations) {
        // Dither is never drawn in this mode: each station keeps the speed and tone
        // its line states, not what was left over from an earlier session.
        signal_.Impairments().SpeedDither = 0;
        signal_.Impairments().PitchDither = Impairments::kNoPitchDither;
    }
    sources_.Text().Begin(random_);
    display_.SetParameterLineMode(stations);
    stationsPlayed_ = stations;

    WriteFirstCharactersMask(settings_.Store(), CharacterCount());
    characters_.LearningModeRefresh();
    if (!BeginSession()) {
        display_.SetParameterLineMode(false);
        stationsPlayed_ = false;
        sources_.Text().Close();
        OfferCommands(true);
        return false;
    }
    sessionClock_.StartTextClock();
    return true;
}

// --- What the sources ask of the session -----------------------------------------------

// A station line's parameters: its speed (a random one near the selected speed for 0),
// weighting, drift and chirp, and a tone near the pitch spinner's.
SourceHost::Station Trainer::StartStation(const std::array<int, 4>& values) {
    const int spinnerPitch = options_.Get(Option::Pitch);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const int v = values[k];
        switch (k) {
            case 0:
                signal_.SetWpm(StationSpeed(v, options_.Get(Option::CharacterSpeed), random_));
                break;
            case 1:
                signal_.Switches().SetVariableWeighting(v != 0);
                break;
            case 2:
                signal_.Switches().SetDrift(v != 0);
                break;
            default:
                signal_.Switches().SetChirp(v != 0);
                break;
        }
        signal_.SetPitch(spinnerPitch - 125 + random_.Next(250));
    }
    return Station{signal_.Wpm(), signal_.Pitch()};
}

// The station's text starts: its log line, on a line of its own.
void Trainer::StationTextBegins(const QString& parameterText) {
    const std::uint32_t hundredths = sessionClock_.HundredthsSinceTextStart();
    if (!sent_.Text().isEmpty() && !sent_.Text().endsWith(QLatin1Char('\n')))
        sent_.Append(QStringLiteral("\n"));
    sent_.Append(ParameterLogLine(hundredths, parameterText) + QLatin1Char('\n'));
}

}  // namespace lumbrel
