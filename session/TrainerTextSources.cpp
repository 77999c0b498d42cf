// The trainer's word, QSO and text-file sources: the "Words", "QSO's" and "Play Text
// File" commands with their drop-down lists and file drops, and the two symbol
// sources the engine asks once per buffer while such a session runs.
#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "audio/Clock.h"
#include "morse/LearningOrders.h"
#include "session/Trainer.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/ParameterLine.h"
#include "text/TextEncoding.h"

namespace lumbrel {
namespace {

const QString kWordsCaption = QStringLiteral("Words");
const QString kQsoCaption = QStringLiteral("QSO's");
const QString kTextFileCaption = QStringLiteral("Play Text File");

// A drop-down item's file name: the name as the menu passes it when a file of the
// folder has it (so "A&B.txt" plays itself, not "AB.txt"); otherwise the caption
// without its first "&", an accelerator marker a menu may have added.
QString ItemFileName(const QString& folder, const QString& caption)
{
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

QString Trainer::ProgramFolder() const
{
    return programFolder_.isEmpty() ? DefaultProgramFolder() : programFolder_;
}

bool Trainer::AllCharactersInUse() const
{
    return !characters_.CharacterList().empty() && CharacterCount() == CharacterCountMaximum();
}

bool Trainer::SourceCommandAllowed() const
{
    // Never a second pipeline over buffers still in flight, nor a start during the
    // countdown; the sources send every character of the list, so all must be in use.
    return !sessionActive_ && countdown_ == 0 && AllCharactersInUse();
}

void Trainer::ToolButton7Click()
{
    if (!SourceCommandAllowed())
        return;
    listPath_ = ResolveProgramPath(ProgramFolder(), copies_.commonWordFile);
    if (!QFileInfo(listPath_).isFile())
        return;
    endAfterOneEntry_ = false;
    filterAsWords_ = true;
    PlayEntryList();
}

QStringList Trainer::WordsPopupMenuPopup() const
{
    return ListTextFiles(ResolveProgramPath(ProgramFolder(), QLatin1String(kWordFilesFolder)));
}

void Trainer::WordPopupMenuItem1Click(const QString& caption)
{
    if (!SourceCommandAllowed())
        return;
    const QString folder = ProgramFolder();
    const QString name = ItemFileName(ResolveProgramPath(folder, QLatin1String(kWordFilesFolder)), caption);
    copies_.commonWordFile = QStringLiteral("\\%1\\%2").arg(QLatin1String(kWordFilesFolder), name);
    listPath_ = ResolveProgramPath(folder, copies_.commonWordFile);
    endAfterOneEntry_ = false;
    filterAsWords_ = true;
    store_.Write(keys::CommonWordFile, copies_.commonWordFile);
    PlayEntryList();
}

void Trainer::ToolButton8Click()
{
    if (!SourceCommandAllowed())
        return;
    const QString path = ResolveProgramPath(ProgramFolder(), copies_.qsoFile);
    if (!QFileInfo(path).isFile())
        return;
    endAfterOneEntry_ = true;
    filterAsWords_ = false;
    listPath_ = path;
    PlayEntryList();
}

QStringList Trainer::QSOPopupMenuPopup() const
{
    return ListTextFiles(ResolveProgramPath(ProgramFolder(), QLatin1String(kQsoFilesFolder)));
}

void Trainer::QSOPopupMenu1Click(const QString& caption)
{
    if (!SourceCommandAllowed())
        return;
    const QString folder = ProgramFolder();
    const QString name = ItemFileName(ResolveProgramPath(folder, QLatin1String(kQsoFilesFolder)), caption);
    copies_.qsoFile = QStringLiteral("\\%1\\%2").arg(QLatin1String(kQsoFilesFolder), name);
    listPath_ = ResolveProgramPath(folder, copies_.qsoFile);
    endAfterOneEntry_ = true;
    filterAsWords_ = false;
    store_.Write(keys::QsoFile, copies_.qsoFile);
    PlayEntryList();
}

void Trainer::SetEntryListSource(const QString& path, bool filterAsWords, bool endAfterOneEntry)
{
    listPath_ = path;
    filterAsWords_ = filterAsWords;
    endAfterOneEntry_ = endAfterOneEntry;
}

bool Trainer::PlayEntryList()
{
    if (!SourceCommandAllowed())
        return false;
    entries_.clear();
    // A missing file: nothing happens, no message.
    if (!QFileInfo::exists(listPath_))
        return false;

    const EntryListOptions options{
        .filterAsWords = filterAsWords_,
        .wordFilter = copies_.wordFilter,
        .maxWordLength = copies_.maxWordLength,
        .sizeLimit = filterAsWords_ ? CommonWordsLimit(store_.Read(keys::CommonWordsSize)) : 0,
    };
    EntryLoadResult loaded = LoadEntryList(listPath_, options, random_);
    if (loaded.status == EntryLoadStatus::Missing)
        return false;
    if (loaded.status != EntryLoadStatus::Loaded) {
        host_.ShowMessage(loaded.problem, filterAsWords_ ? kWordsCaption : kQsoCaption, MessageKind::Warning);
        return false;
    }
    entries_ = std::move(loaded.entries);
    // A list that yields no entry: no session, and nothing else changes.
    if (entries_.isEmpty())
        return false;

    // Every character of the list takes part.
    WriteFirstCharactersMask(store_, CharacterCount());
    characters_.LearningModeRefresh();
    charactersSent_ = -2;
    sourceKind_ = SourceKind::RandomEntries;

    ApplySessionControls();
    tickCounter_ = 1;
    sent_.Clear();
    currentEntry_ = 0;
    entryPosition_ = 0;
    entryChosen_ = false;
    entryFirstCall_ = true;
    currentRecord_ = nullptr;
    if (!BeginSession()) {
        ApplyIdleControls();
        return false;
    }
    display_.SetWordListSession(true);
    controls_.SetEnabled(ControlId::CharacterCountSpinEdit, false);
    return true;
}

void Trainer::SendFileClick(const QString& path)
{
    if (path.isEmpty())
        return;
    PlayTextFile(path);
}

void Trainer::DnDForm1DnDItem(const QString& path) { droppedName_ = path; }

void Trainer::DnDForm1DnDFinish()
{
    const QString name = std::exchange(droppedName_, QString());
    // The file's own name decides, so that a folder called "x.txt" lets in nothing.
    if (name.isEmpty() || !AllCharactersInUse() ||
        !QFileInfo(name).fileName().toUpper().contains(QLatin1String(".TXT")))
        return;
    PlayTextFile(name);
}

void Trainer::FilesDropped(const QStringList& paths)
{
    for (const QString& path : paths)
        DnDForm1DnDItem(path);
    DnDForm1DnDFinish();
}

bool Trainer::PlayTextFile(const QString& path)
{
    if (!SourceCommandAllowed())
        return false;
    if (!textFile_.Open(path)) {
        host_.ShowMessage(textFile_.Error(), kTextFileCaption, MessageKind::Warning);
        return false;
    }
    entries_.clear();  // the lines take the entry list's place
    charactersSent_ = -2;
    sourceKind_ = SourceKind::SequentialText;
    ApplySessionControls();
    tickCounter_ = 1;

    parameterLines_ = textFile_.ParameterLines();
    sent_.Clear();
    textLine_.clear();
    textLineCurrent_ = false;
    textPosition_ = 0;
    lastWasWordSpace_ = false;  // every text file opens with the word space of its first line
    markIndex_ = -1;
    parameterText_.clear();
    currentRecord_ = nullptr;
    if (parameterLines_) {
        // Dither is never drawn in this mode: each station keeps the speed and tone
        // its line states, not what was left over from an earlier session.
        impairments_.SpeedDither = 0;
        impairments_.PitchDither = Impairments::kNoPitchDither;
        if (!pauseRandomSeeded_) {
            pauseRandom_.seed(random_.LowWord() % 2147483646u + 1u);
            pauseRandomSeeded_ = true;
        }
    }
    display_.SetParameterLineMode(parameterLines_);

    WriteFirstCharactersMask(store_, CharacterCount());
    characters_.LearningModeRefresh();
    if (!BeginSession()) {
        display_.SetParameterLineMode(false);
        textFile_.Close();
        ApplyIdleControls();
        return false;
    }
    textStartTick_ = clock_.TickCount();
    return true;
}

// --- Symbol sources -----------------------------------------------------------------------

int Trainer::NextEntrySymbol()
{
    for (int budget = kSkipBudget; budget > 0; --budget) {
        // The entries are UTF-8: the position counts the bytes taken from the entry.
        const bool endOfEntry = !entryChosen_ || currentEntry_ >= entries_.size() ||
                                entryPosition_ >= entries_[currentEntry_].size();
        if (endOfEntry) {
            if (endAfterOneEntry_ && !entryFirstCall_) {
                // The one entry has been sent: the buffer still in flight ends the session.
                sessionState_ = kEnded;
                return kNoSymbol;
            }
            entryFirstCall_ = false;
            entryPosition_ = 0;
            if (entries_.isEmpty()) {
                sessionState_ = kEnded;
                return kNoSymbol;
            }
            currentEntry_ = EntryIndex(random_, entries_.size());
            entryChosen_ = true;
            renderer_.ResetDrift();
            if (!endAfterOneEntry_) {
                if (ElapsedSeconds() >= 60 * sessionMinutes_)
                    sessionState_ = kStopping;  // this word space still goes out
            }
            prosignState_ = 0;
            impairments_.RedrawDither(CurrentSignalSettings(), random_);
            return kWordSpace;
        }
        qsizetype position = entryPosition_;
        const char32_t c = NextCharacter(entries_[currentEntry_], position);
        entryPosition_ = static_cast<int>(position);
        const int index = characters_.LookUpTextCharacter(c);
        if (index == kProsignMarker) {
            prosignState_ = 1;
            continue;
        }
        if (index == kUnmapped) {
            prosignState_ = 0;
            continue;
        }
        if (index == kWordSpace)
            prosignState_ = 0;
        return index;
    }
    prosignState_ = 0;
    return kWordSpace;
}

void Trainer::TakeParameterLine()
{
    const int pause = static_cast<int>(pauseRandom_() % (kMaxLeadingSpaces + 1));
    ParameterLine line = ParseParameterLine(textLine_, pause);
    textLine_ = std::move(line.stored);
    markIndex_ = -1;
    if (!line.hasParameters)
        return;
    const int spinnerPitch = controls_.Value(ControlId::PitchSpinner);
    for (std::size_t k = 0; k < 4; ++k) {
        const int v = line.values[k];
        switch (k) {
        case 0:
            characterWpm_ = StationSpeed(v, controls_.Value(ControlId::RadioGroup1), random_);
            break;
        case 1:
            renderer_.SetVariableWeighting(v != 0);
            break;
        case 2:
            renderer_.SetDrift(v != 0);
            break;
        default:
            renderer_.SetChirp(v != 0);
            break;
        }
        currentPitch_ = spinnerPitch - 125 + random_.Next(250);
    }
    const QString text = QString::fromUtf8(TrimEntry(textLine_));
    parameterText_ = ParameterText(characterWpm_, currentPitch_, line.values[2], line.values[3], text);
    markIndex_ = line.markIndex;
}

int Trainer::NextTextSymbol()
{
    int budget = kSkipBudget;
    while (budget > 0) {
        --budget;
        // The line is UTF-8: the position counts the bytes taken from it.
        if (!textLineCurrent_ || textPosition_ >= textLine_.size()) {
            textPosition_ = 0;
            const TextFileSource::Next next = textFile_.NextLine(textLine_, budget);
            if (next == TextFileSource::Next::End) {
                textLineCurrent_ = false;
                sessionState_ = kEnded;
                return kNoSymbol;
            }
            if (next == TextFileSource::Next::OutOfBudget) {
                textLineCurrent_ = false;  // the next call goes on looking for the next line
                break;
            }
            textLineCurrent_ = true;
            if (parameterLines_) {
                TakeParameterLine();
                prosignState_ = 0;  // a prosign ends at the line's word space like at any other
                return kWordSpace;
            }
            if (lastWasWordSpace_)
                continue;  // a line end adds no second word space
            lastWasWordSpace_ = true;
            prosignState_ = 0;
            impairments_.RedrawDither(CurrentSignalSettings(), random_);
            return kWordSpace;
        }

        const int at = textPosition_;
        qsizetype position = textPosition_;
        const char32_t c = NextCharacter(textLine_, position);
        textPosition_ = static_cast<int>(position);
        if (parameterLines_ && at == markIndex_) {
            // The station's text starts: its log line.
            markIndex_ = -1;
            const std::uint32_t hundredths = (clock_.TickCount() - textStartTick_) / 10u;
            if (!sent_.Text().isEmpty() && !sent_.Text().endsWith(QLatin1Char('\n')))
                sent_.Append(QStringLiteral("\n"));
            sent_.Append(ParameterLogLine(hundredths, parameterText_) + QLatin1Char('\n'));
        }
        int index = characters_.LookUpTextCharacter(c);
        if (index == kUnmapped)
            index = kWordSpace;  // an unknown character counts as a word space
        if (index == kProsignMarker) {
            prosignState_ = 1;
            continue;
        }
        if (index == kWordSpace) {
            prosignState_ = 0;
            if (parameterLines_) {
                lastWasWordSpace_ = false;  // every space is sent
                return kWordSpace;
            }
            impairments_.RedrawDither(CurrentSignalSettings(), random_);
            if (lastWasWordSpace_)
                continue;
            lastWasWordSpace_ = true;
            return kWordSpace;
        }
        lastWasWordSpace_ = false;
        return index;
    }
    // A long run of nothing to send: a word space, so that the window stays responsive.
    lastWasWordSpace_ = true;
    prosignState_ = 0;
    return kWordSpace;
}

}  // namespace lumbrel
