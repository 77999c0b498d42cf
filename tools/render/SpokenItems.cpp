#include "tools/render/SpokenItems.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "morse/MorseCode.h"
#include "morse/SampleFormat.h"
#include "engine/CharacterSet.h"
#include "settings/SettingsStore.h"
#include "speech/Speaker.h"
#include "speech/SpokenForm.h"
#include "text/Callsigns.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/PlainFile.h"
#include "text/ProsignRun.h"
#include "text/TextEncoding.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/CommandLine.h"
#include "tools/render/Series.h"

namespace lumbrel::render {
namespace {

constexpr qint64 kMaxTextBytes = 16 * 1024 * 1024;
constexpr int kFrameRate = 44100;

// The items in the order they are sent: a shuffled list that is shuffled again when
// it runs out, calls made as they are needed (never one twice), or a text to its end.
class ItemPool {
public:
    ItemPool(QList<QByteArray> items, bool shuffled, std::uint32_t seed)
        : items_(std::move(items)),
          shuffled_(shuffled),
          draw_(seed) {
        Shuffle();
    }
    explicit ItemPool(std::uint32_t seed) : calls_(true), draw_(seed) {}

    std::optional<QByteArray> Next() {
        if (calls_) {
            if (!maker_)  // made here, once the pool has its place, as it keeps draw_
                maker_ = std::make_unique<callsigns::CallsignMaker>(draw_);
            for (int tries = 0; tries < 1000; ++tries) {
                std::string call = maker_->Next();
                if (usedCalls_.insert(call).second)
                    return QByteArray::fromStdString(call);
            }
            return std::nullopt;
        }
        if (next_ >= items_.size()) {
            if (!shuffled_ || items_.isEmpty())
                return std::nullopt;
            repeated_ = true;
            next_ = 0;
            Shuffle();
        }
        return items_[next_++];
    }
    // Whether an item came round a second time.
    bool Repeated() const { return repeated_; }

private:
    void Shuffle() {
        if (!shuffled_)
            return;
        for (qsizetype i = items_.size() - 1; i > 0; --i)
            std::swap(items_[i], items_[draw_.Below(static_cast<int>(i + 1))]);
    }

    QList<QByteArray> items_;
    bool shuffled_ = false;
    bool calls_ = false;
    qsizetype next_ = 0;
    bool repeated_ = false;
    callsigns::Draw draw_;
    std::unique_ptr<callsigns::CallsignMaker> maker_;
    std::set<std::string> usedCalls_;
};

// Writes items in Morse and their spoken answers, counting the frames.
class ItemWriter {
public:
    ItemWriter(const SpokenOptions& o, CharacterSet& characters, speech::Speaker& speaker,
               RandomNumber& random)
        : o_(o),
          characters_(characters),
          speaker_(speaker),
          renderer_(random) {}

    bool WriteItem(AudioOutput& out, const QByteArray& item) {
        std::vector<std::int16_t> morse;
        for (std::size_t k = 0; k < o_.speeds.size(); ++k) {
            if (k > 0)
                AppendMorse(morse, " ", o_.speeds[k]);
            AppendMorse(morse, item, o_.speeds[k]);
        }
        const std::vector<std::int16_t> spoken = Spoken(item);
        const std::size_t gap = 2 * static_cast<std::size_t>(std::lround(o_.speakGapSeconds * kFrameRate));
        switch (o_.order) {
            case SpeakOrder::After:
                return Write(out, morse) && Silence(out, gap) && Write(out, spoken) && Silence(out, gap);
            case SpeakOrder::Before:
                return Write(out, spoken) && Silence(out, gap) && Write(out, morse) && Silence(out, gap);
            case SpeakOrder::Ninja: {
                std::vector<std::int16_t> again;
                AppendMorse(again, item, o_.speeds.back());
                return Write(out, morse) && Silence(out, gap) && Write(out, spoken) && Silence(out, gap) &&
                       Write(out, again) && Silence(out, gap);
            }
        }
        return false;
    }
    std::int64_t Frames() const { return frames_; }
    void ResetFrames() { frames_ = 0; }
    // The characters sent so far, by list position, since the last ResetCharacters.
    const std::set<int>& Characters() const { return used_; }
    void ResetCharacters() { used_.clear(); }

private:
    // The item's characters at wpm; characters without a code count as word spaces.
    void AppendMorse(std::vector<std::int16_t>& values, const QByteArray& text, int wpm) {
        const auto& list = characters_.CharacterList();
        ProsignRun prosign;
        for (const char32_t c : QString::fromUtf8(text).toUcs4()) {
            int position = characters_.LookUpTextCharacter(c);
            if (position != kProsignMarker &&
                (position == kUnmapped || position >= static_cast<int>(list.size())))
                position = kWordSpace;
            if (prosign.Take(position))
                continue;
            const bool joined = prosign.Emit().joined;
            if (position != kWordSpace)
                used_.insert(position);
            Slot& slot = slots_[{position, wpm}];
            if (slot.values.empty()) {
                MorseCode code(renderer_, *list[static_cast<std::size_t>(position)], wpm, o_.toneHz,
                               o_.effectivePermille);
                const std::size_t n =
                    std::min(static_cast<std::size_t>(code.SlotBytes(false) / 2), code.Samples().size());
                slot.values.assign(code.Samples().begin(),
                                   code.Samples().begin() + static_cast<std::ptrdiff_t>(n));
                slot.joinedValues = std::min(static_cast<std::size_t>(code.SlotBytes(true) / 2), n);
                for (const std::int16_t v : slot.values)
                    signalPeak_ = std::max(signalPeak_, std::abs(static_cast<int>(v)));
            }
            const std::size_t n = joined ? slot.joinedValues : slot.values.size();
            values.insert(values.end(), slot.values.begin(),
                          slot.values.begin() + static_cast<std::ptrdiff_t>(n));
        }
    }

    // The answer, stereo, as loud as the signal's tone.
    std::vector<std::int16_t> Spoken(const QByteArray& item) {
        const speech::ItemKind kind =
            o_.source == ItemSource::Calls ? speech::ItemKind::Call : speech::ItemKind::Word;
        const std::vector<std::int16_t> mono =
            speaker_.Speak(speech::SpokenForm(item.toStdString(), kind, o_.phonetic),
                           signalPeak_ > 0 ? signalPeak_ : audio::kPeakValue / 2, audio::kPeakValue);
        std::vector<std::int16_t> stereo(2 * mono.size());
        for (std::size_t i = 0; i < mono.size(); ++i)
            stereo[2 * i] = stereo[2 * i + 1] = mono[i];
        return stereo;
    }

    bool Write(AudioOutput& out, const std::vector<std::int16_t>& values) {
        frames_ += static_cast<std::int64_t>(values.size() / 2);
        return values.empty() ||
               out.Write(reinterpret_cast<const std::uint8_t*>(values.data()), 2 * values.size());
    }
    bool Silence(AudioOutput& out, std::size_t values) {
        if (silence_.size() < values)
            silence_.resize(values);
        frames_ += static_cast<std::int64_t>(values / 2);
        return values == 0 || out.Write(reinterpret_cast<const std::uint8_t*>(silence_.data()), 2 * values);
    }

    struct Slot {
        std::vector<std::int16_t> values;
        std::size_t joinedValues = 0;
    };
    const SpokenOptions& o_;
    CharacterSet& characters_;
    speech::Speaker& speaker_;
    RendererState renderer_;
    std::map<std::pair<int, int>, Slot> slots_;
    std::vector<std::int16_t> silence_;
    int signalPeak_ = 0;
    std::int64_t frames_ = 0;
    std::set<int> used_;
};

// The items of the options' source; empty, with why, when there are none.
std::optional<ItemPool> MakePool(const SpokenOptions& o, CharacterSet& characters, std::uint32_t seed,
                                 QString& why) {
    if (o.source == ItemSource::Calls)
        return ItemPool(seed);
    if (o.source == ItemSource::TextWords || o.source == ItemSource::TextLines) {
        PlainFileBytes file = ReadPlainFile(o.file, kMaxTextBytes);
        if (file.status != PlainFileBytes::Status::Read) {
            why = QStringLiteral("cannot read %1: %2")
                      .arg(o.file, file.status == PlainFileBytes::Status::Missing
                                       ? QStringLiteral("no such file")
                                   : file.status == PlainFileBytes::Status::NotPlain
                                       ? QStringLiteral("not a plain file")
                                   : file.status == PlainFileBytes::Status::TooLarge
                                       ? QStringLiteral("larger than %1 MiB").arg(kMaxTextBytes >> 20)
                                       : file.error);
            return std::nullopt;
        }
        const QString text = QString::fromUtf8(ToUtf8(file.bytes, JudgeEncoding(file.bytes)));
        QList<QByteArray> items;
        const QStringList parts =
            text.split(o.source == ItemSource::TextLines ? QRegularExpression(QStringLiteral("[\r\n]+"))
                                                         : QRegularExpression(QStringLiteral("\\s+")),
                       Qt::SkipEmptyParts);
        for (const QString& part : parts)
            if (const QString item = part.simplified(); !item.isEmpty())
                items.push_back(item.toUtf8());
        if (items.isEmpty()) {
            why = QStringLiteral("%1 holds nothing to send").arg(o.file);
            return std::nullopt;
        }
        return ItemPool(std::move(items), false, seed);
    }
    const QString path =
        o.file.isEmpty()
            ? ResolveProgramPath(DefaultProgramFolder(), QStringLiteral("Word Files/1000 Common Words.txt"))
            : QFileInfo(o.file).absoluteFilePath();
    RandomNumber random(seed);
    EntryLoadResult loaded = LoadEntryList(
        path,
        EntryListOptions{.filterAsWords = true, .wordFilter = o.wordFilter, .maxWordLength = o.maxWordLength},
        random);
    if (loaded.status != EntryLoadStatus::Loaded) {
        why = loaded.status == EntryLoadStatus::Missing
                  ? QStringLiteral("cannot read %1: no such file").arg(path)
                  : loaded.problem;
        return std::nullopt;
    }
    if (o.source == ItemSource::MyCharacters) {
        loaded.entries.removeIf([&](const QByteArray& word) {
            for (const char32_t c : QString::fromUtf8(word).toUcs4()) {
                const int position = characters.LookUpTextCharacter(c);
                if (position < 1 || position > o.characters)
                    return true;
            }
            return false;
        });
    }
    if (loaded.entries.isEmpty()) {
        why = o.source == ItemSource::MyCharacters
                  ? QStringLiteral("no word of %1 is made only of the first %2 characters")
                        .arg(path)
                        .arg(o.characters)
                  : QStringLiteral("no words of %1 are left after filtering").arg(path);
        return std::nullopt;
    }
    return ItemPool(std::move(loaded.entries), true, seed);
}

// Sends items until the lesson has lasted `minutes`, ending with a whole item; the
// number of items sent (0 when the pool was empty), or -1 when writing failed.
int WriteLesson(const SpokenOptions& o, ItemPool& pool, ItemWriter& writer, AudioOutput& out,
                QByteArray* sent = nullptr) {
    const std::int64_t length = static_cast<std::int64_t>(o.minutes) * 60 * kFrameRate;
    int count = 0;
    writer.ResetFrames();
    writer.ResetCharacters();
    while (writer.Frames() < length) {
        const std::optional<QByteArray> item = pool.Next();
        if (!item)
            break;
        if (!writer.WriteItem(out, *item))
            return -1;
        if (sent)
            *sent += *item + '\n';
        ++count;
    }
    return count;
}

QString SpeedsText(const std::vector<int>& speeds) {
    QStringList parts;
    for (const int s : speeds)
        parts << QString::number(s);
    return parts.join(QLatin1Char('/')) + QStringLiteral(" WPM");
}

}  // namespace

bool WantsSpokenItems(const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (a == QLatin1String("--"))
            return false;
        if (a == QLatin1String("--speak") || a == QLatin1String("--series") || a == QLatin1String("--voice"))
            return true;
    }
    return false;
}

QString SpokenUsage() {
    return QStringLiteral(
        "\n"
        "Spoken answers (hands-free practice), rendered without the session engine:\n"
        "  --speak after|before|ninja  speak each item after its Morse, before it, or\n"
        "                        between two sendings of it (ninja)\n"
        "  --words [FILE]        items from a word list (default: the common words);\n"
        "                        with --my-characters only words of the first --chars\n"
        "                        characters; --word-filter and --max-word-length as above\n"
        "  --calls               items are callsigns, spoken letter by letter\n"
        "  --text FILE           items from a text file, read in order\n"
        "  --items words|lines   a text file's items: its words (default) or its lines\n"
        "  --phonetic            letters of calls, abbreviations and prosigns in the\n"
        "                        phonetic alphabet\n"
        "  --voice NAME          espeak-ng voice (default en); --voice list lists them\n"
        "  --speech-rate WPM     speaking speed, 80 to 450 words a minute (default 175)\n"
        "  --speak-gap S         seconds of silence before the answer and after each\n"
        "                        part, 0 to 10 (default 1.5)\n"
        "  --speed-steps A,B,..  send each item at each of these speeds in turn (6 to 80)\n"
        "  --minutes N           length of the file or of each lesson (default 5)\n"
        "  --series DIR --lessons N  N numbered lessons in DIR, no item twice across\n"
        "                        them, with a playlist (lessons.m3u) and a podcast feed\n"
        "                        (feed.xml); beside each lesson a text file of its items\n"
        "  --format mp3|wav      the lessons' format (default mp3)\n"
        "  --series-url URL      where DIR is served, for the feed's enclosures\n");
}

SpokenParse ParseSpokenOptions(const QStringList& arguments) {
    SpokenOptions o;
    auto fail = [](const QString& why) {
        return SpokenParse{std::nullopt, why};
    };
    bool speak = false, textGiven = false, itemsGiven = false, lessonsGiven = false, speedsGiven = false;
    int wpm = 25;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        auto value = [&](QString& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        auto number = [&](long long low, long long high, int& out) {
            return TakeWholeNumber(arguments, i, low, high, out);
        };
        QString text;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--speak")) {
            if (!value(text))
                return fail(QStringLiteral("--speak needs after, before or ninja"));
            if (text == QLatin1String("after"))
                o.order = SpeakOrder::After;
            else if (text == QLatin1String("before"))
                o.order = SpeakOrder::Before;
            else if (text == QLatin1String("ninja"))
                o.order = SpeakOrder::Ninja;
            else
                return fail(QStringLiteral("--speak takes after, before or ninja, not '%1'").arg(text));
            speak = true;
        } else if (arg == QLatin1String("--voice")) {
            if (!value(o.voice) || o.voice.isEmpty())
                return fail(QStringLiteral("--voice needs a voice name, or list"));
            o.listVoices = o.voice == QLatin1String("list");
        } else if (arg == QLatin1String("--speech-rate")) {
            if (auto e = number(speech::Speaker::kSlowestRateWpm, speech::Speaker::kFastestRateWpm,
                                o.speechRateWpm))
                return fail(*e);
        } else if (arg == QLatin1String("--speak-gap")) {
            bool ok = false;
            if (!value(text) || (o.speakGapSeconds = text.toDouble(&ok), !ok) || o.speakGapSeconds < 0 ||
                o.speakGapSeconds > 10)
                return fail(QStringLiteral("--speak-gap takes seconds from 0 to 10, not '%1'").arg(text));
        } else if (arg == QLatin1String("--speed-steps")) {
            if (!value(text))
                return fail(QStringLiteral("--speed-steps needs speeds, such as 20,25,30"));
            o.speeds.clear();
            for (const QString& part : text.split(QLatin1Char(','))) {
                const auto n = ParseNumber(part.trimmed());
                if (!n || *n < 6 || *n > 80 || (!o.speeds.empty() && *n <= o.speeds.back()))
                    return fail(QStringLiteral("--speed-steps takes rising speeds from 6 to 80 WPM, not '%1'")
                                    .arg(text));
                o.speeds.push_back(static_cast<int>(*n));
            }
            speedsGiven = true;
        } else if (arg == QLatin1String("--wpm")) {
            if (auto e = number(6, 80, wpm))
                return fail(*e);
        } else if (arg == QLatin1String("--tone")) {
            if (auto e = number(100, 5000, o.toneHz))
                return fail(*e);
        } else if (arg == QLatin1String("--effective")) {
            if (auto e = number(1, 1000, o.effectivePermille))
                return fail(*e);
        } else if (arg == QLatin1String("--order")) {
            if (!value(text) || (text != QLatin1String("koch") && text != QLatin1String("mfj")))
                return fail(QStringLiteral("--order takes koch or mfj"));
            o.learningOrder = text == QLatin1String("mfj") ? LearningOrder::Mfj : LearningOrder::Koch;
        } else if (arg == QLatin1String("--chars")) {
            if (auto e = number(2, 40, o.characters))
                return fail(*e);
        } else if (arg == QLatin1String("--minutes")) {
            if (auto e = number(1, 60, o.minutes))
                return fail(*e);
        } else if (arg == QLatin1String("--seed")) {
            const auto n = value(text) ? ParseNumber(text) : std::nullopt;
            if (!n || *n < 0 || *n > 0xFFFFFFFFLL)
                return fail(
                    QStringLiteral("--seed takes a whole number from 0 to 4294967295, not '%1'").arg(text));
            o.seed = static_cast<std::uint32_t>(*n);
        } else if (arg == QLatin1String("-o")) {
            if (!value(o.output) || o.output.isEmpty())
                return fail(QStringLiteral("-o needs a file name"));
        } else if (arg == QLatin1String("--bitrate")) {
            int kbps = 0;
            if (auto e = number(16, 128, kbps))
                return fail(*e);
            if (kbps % 16 != 0)
                return fail(QStringLiteral("--bitrate takes 16, 32, 48, 64, 80, 96, 112 or 128"));
            o.mp3BitRate = kbps / 16 - 1;
        } else if (arg == QLatin1String("--words")) {
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-')))
                o.file = arguments[++i];
            if (o.source != ItemSource::MyCharacters)
                o.source = ItemSource::Words;
        } else if (arg == QLatin1String("--my-characters")) {
            o.source = ItemSource::MyCharacters;
        } else if (arg == QLatin1String("--word-filter")) {
            if (!value(text) || text.isEmpty())
                return fail(QStringLiteral("--word-filter needs letters"));
            const std::optional<int> mask = WordFilterMask(text);
            if (!mask)
                return fail(QStringLiteral("--word-filter takes letters a to z, not '%1'").arg(text));
            o.wordFilter = *mask;
        } else if (arg == QLatin1String("--max-word-length")) {
            if (auto e = number(2, 100, o.maxWordLength))
                return fail(*e);
        } else if (arg == QLatin1String("--calls")) {
            o.source = ItemSource::Calls;
        } else if (arg == QLatin1String("--text") || arg == QLatin1String("-f")) {
            if (!value(o.file) || o.file.isEmpty())
                return fail(QStringLiteral("%1 needs a file name").arg(arg));
            textGiven = true;
        } else if (arg == QLatin1String("--items")) {
            if (!value(text) || (text != QLatin1String("words") && text != QLatin1String("lines")))
                return fail(QStringLiteral("--items takes words or lines"));
            o.source = text == QLatin1String("lines") ? ItemSource::TextLines : ItemSource::TextWords;
            itemsGiven = true;
        } else if (arg == QLatin1String("--phonetic")) {
            o.phonetic = true;
        } else if (arg == QLatin1String("--series")) {
            if (!value(o.seriesDir) || o.seriesDir.isEmpty())
                return fail(QStringLiteral("--series needs a folder"));
        } else if (arg == QLatin1String("--lessons")) {
            if (auto e = number(1, 999, o.lessons))
                return fail(*e);
            lessonsGiven = true;
        } else if (arg == QLatin1String("--format")) {
            if (!value(text) || (text != QLatin1String("mp3") && text != QLatin1String("wav")))
                return fail(QStringLiteral("--format takes mp3 or wav"));
            o.seriesMp3 = text == QLatin1String("mp3");
        } else if (arg == QLatin1String("--series-url")) {
            if (!value(o.seriesUrl) || o.seriesUrl.isEmpty())
                return fail(QStringLiteral("--series-url needs a URL"));
        } else {
            return fail(
                QStringLiteral("'%1' is not used with spoken answers (--speak, --series, --voice)").arg(arg));
        }
    }
    if (o.help || o.listVoices)
        return {o, {}};
    if (!speak)
        return fail(QStringLiteral("spoken answers need --speak after, before or ninja"));
    if (textGiven && !itemsGiven)
        o.source = ItemSource::TextWords;
    if (itemsGiven && !textGiven)
        return fail(QStringLiteral("--items goes with --text FILE"));
    if (textGiven && (o.source != ItemSource::TextWords && o.source != ItemSource::TextLines))
        return fail(QStringLiteral("give one of --words, --calls and --text"));
    if (!speedsGiven)
        o.speeds = {wpm};
    if (o.seriesDir.isEmpty() != !lessonsGiven)
        return fail(QStringLiteral("--series DIR and --lessons N go together"));
    return {o, {}};
}

int RenderSpokenItems(const QStringList& arguments) {
    const SpokenParse parsed = ParseSpokenOptions(arguments);
    if (!parsed.options) {
        Print(stderr, QStringLiteral("lumbrel-render: %1\nTry 'lumbrel-render --help'.\n").arg(parsed.error));
        return 2;
    }
    const SpokenOptions& o = *parsed.options;
    if (o.help) {
        Print(stdout, SpokenUsage());
        return 0;
    }
    std::string error;
    if (o.listVoices) {
        const std::vector<speech::VoiceInfo> voices = speech::Speaker::Voices(error);
        if (voices.empty())
            return Fail(QString::fromStdString(error));
        for (const speech::VoiceInfo& v : voices)
            Print(stdout, QStringLiteral("%1\t%2\n")
                              .arg(QString::fromStdString(v.language), QString::fromStdString(v.name)));
        return 0;
    }

    SettingsStore store = SettingsStore::InMemory();
    AllCharacters windows;
    CharacterSet characters(store, windows);
    characters.SetOrder(o.learningOrder);
    characters.RebuildCharacterList();

    const std::uint32_t seed =
        o.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    QString why;
    std::optional<ItemPool> pool = MakePool(o, characters, seed, why);
    if (!pool)
        return Fail(why);
    const std::unique_ptr<speech::Speaker> speaker =
        speech::Speaker::Open(o.voice.toStdString(), o.speechRateWpm, error);
    if (!speaker)
        return Fail(QString::fromStdString(error));
    RandomNumber random(seed);
    ItemWriter writer(o, characters, *speaker, random);

    // The characters of a lesson in the order's sequence, as its title gives them.
    auto lessonCharacters = [&] {
        QString shown;
        for (const int position : writer.Characters())
            shown += characters.CharacterList()[static_cast<std::size_t>(position)]->display.toUpper();
        return shown;
    };

    if (o.seriesDir.isEmpty()) {
        const std::unique_ptr<AudioOutput> out = CreateAudioOutput(o.output, o.mp3BitRate, why, o.toneHz);
        if (!out)
            return Fail(why);
        if (WriteLesson(o, *pool, writer, *out) < 0)
            return Fail(QStringLiteral("cannot write %1: %2").arg(o.output, out->Error()));
        if (const QString problem = out->Finish(); !problem.isEmpty())
            return Fail(problem);
        if (const QString problem = out->Commit(); !problem.isEmpty())
            return Fail(problem);
        return 0;
    }

    // An MP3 is made in .new/ under its own name (which its ID3v1 tag takes), tagged there
    // and then moved into the folder, so that a lesson is never half made.
    if (!QDir().mkpath(o.seriesDir) ||
        (o.seriesMp3 && !QDir().mkpath(QDir(o.seriesDir).filePath(QStringLiteral(".new")))))
        return Fail(QStringLiteral("cannot make the folder %1").arg(o.seriesDir));
    const QDir dir(o.seriesDir);
    const int digits = std::max(2, static_cast<int>(QString::number(o.lessons).size()));
    const QString title = QStringLiteral("Lumbrel lessons, %1").arg(SpeedsText(o.speeds));
    std::vector<LessonFile> lessons;
    for (int n = 1; n <= o.lessons; ++n) {
        LessonFile lesson;
        lesson.track = n;
        lesson.file = QStringLiteral("lesson-%1.%2")
                          .arg(n, digits, 10, QLatin1Char('0'))
                          .arg(o.seriesMp3 ? QStringLiteral("mp3") : QStringLiteral("wav"));
        const QString final = dir.filePath(lesson.file);
        const QString made = o.seriesMp3 ? dir.filePath(QStringLiteral(".new/") + lesson.file) : final;
        const std::unique_ptr<AudioOutput> out = CreateAudioOutput(made, o.mp3BitRate, why, o.toneHz);
        if (!out)
            return Fail(why);
        QByteArray sent;
        const int items = WriteLesson(o, *pool, writer, *out, &sent);
        if (items < 0)
            return Fail(QStringLiteral("cannot write %1: %2").arg(made, out->Error()));
        if (items == 0) {
            Print(stderr, QStringLiteral("lumbrel-render: the items ran out after lesson %1\n").arg(n - 1));
            break;
        }
        if (const QString problem = out->Finish(); !problem.isEmpty())
            return Fail(problem);
        if (const QString problem = out->Commit(); !problem.isEmpty())
            return Fail(problem);
        lesson.seconds = static_cast<double>(writer.Frames()) / kFrameRate;
        lesson.title =
            QStringLiteral("Lesson %1: %2 at %3").arg(n).arg(lessonCharacters(), SpeedsText(o.speeds));
        if (o.seriesMp3) {
            if (const QString problem = TagMp3(made, lesson.title, n, title); !problem.isEmpty()) {
                QFile::remove(made);
                return Fail(problem);
            }
            if (const QString problem = ReplaceFile(made, final); !problem.isEmpty())
                return Fail(problem);
        }
        lesson.bytes = QFileInfo(final).size();
        // What was sent, one item a line, beside the lesson: the answers to look up.
        if (const QString problem = WriteItemList(
                dir.filePath(QFileInfo(lesson.file).completeBaseName() + QStringLiteral(".txt")), sent);
            !problem.isEmpty())
            return Fail(problem);
        lessons.push_back(lesson);
    }
    if (o.seriesMp3)
        dir.rmdir(QStringLiteral(".new"));
    if (pool->Repeated())
        Print(stderr,
              QStringLiteral("lumbrel-render: note: the list ran out, so some items come more than once\n"));
    if (const QString problem = WritePlaylist(dir, lessons); !problem.isEmpty())
        return Fail(problem);
    if (const QString problem = WriteFeed(dir, title, o.seriesUrl, o.seriesMp3, lessons); !problem.isEmpty())
        return Fail(problem);
    return 0;
}

}  // namespace lumbrel::render
