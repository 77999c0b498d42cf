// Spoken answers: what is said for an item, and renders with spoken answers heard
// back: the speech found as broad-band sound between the Morse, where the order says,
// one per item, and the Morse around it keeping the timing rules; lesson series with
// their playlist, feed and tags.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "speech/SpokenForm.h"

namespace {

using lumbrel::speech::ItemKind;
using lumbrel::speech::SpokenForm;

constexpr int kRate = 44100;

TEST(SpokenForm, SaysWordsAsWrittenAndSpellsCallsProsignsAbbreviationsAndNumbers) {
    const std::string chars = "<say-as interpret-as=\"characters\">";
    struct Case {
        const char* item;
        ItemKind kind;
        bool phonetic;
        std::string said;
    };
    const Case cases[] = {
        {"house", ItemKind::Word, false, "house"},
        {"^AR", ItemKind::Word, false, chars + "AR</say-as>"},
        {"~SK", ItemKind::Word, true, "Sierra Kilo"},
        {"tnx fb", ItemKind::Word, false, chars + "tnx</say-as> " + chars + "fb</say-as>"},
        {"QTH", ItemKind::Word, false, chars + "QTH</say-as>"},
        {"5NN", ItemKind::Word, false, chars + "5NN</say-as>"},
        {"599 73", ItemKind::Word, false, chars + "599</say-as> " + chars + "73</say-as>"},
        {"r2 599?", ItemKind::Word, false, chars + "r2</say-as> " + chars + "599</say-as> ?"},
        {"a<b&c", ItemKind::Word, false, "a&lt;b&amp;c"},
        {"K1ABC", ItemKind::Call, false, chars + "K1ABC</say-as>"},
        {"K1ABC/P", ItemKind::Call, true, "Kilo " + chars + "1</say-as> Alfa Bravo Charlie stroke Papa"},
        {"", ItemKind::Word, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpokenForm(c.item, c.kind, c.phonetic), "<speak>" + c.said + "</speak>") << c.item;
}

// ---- Renders heard back --------------------------------------------------------------

std::string Quote(const QString& s) {
    return "'" + s.toStdString() + "'";
}

int Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// The left channel of a 44100 Hz 16-bit stereo WAV file; empty when it is not one.
std::vector<int> ReadLeft(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    auto u16 = [&](qsizetype at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    auto u32 = [&](qsizetype at) {
        return u16(at) | u16(at + 2) << 16;
    };
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || u16(22) != 2 || u32(24) != kRate || u16(34) != 16)
        return {};
    const qsizetype data = bytes.indexOf("data") + 8;
    std::vector<int> left;
    for (qsizetype at = data; at + 3 < bytes.size(); at += 4)
        left.push_back(static_cast<std::int16_t>(u16(at)));
    return left;
}

struct Span {
    std::size_t begin = 0, end = 0;  // frames, end exclusive
};

struct Heard {
    std::vector<Span> marks;    // tone, frame by frame
    std::vector<Span> speech;   // broad-band sound
    bool toneInSpeech = false;  // a block of pure tone inside a stretch of speech
    double toneRms = 0, speechRms = 0;
    int speechPeak = 0;
};

// Blocks of 10 ms are quiet, tone (nine tenths of their power at the pitch) or broad-band;
// broad-band blocks away from any tone, joined across short pauses, are speech. Marks
// are measured frame by frame outside the speech.
Heard Listen(const std::vector<int>& v, int toneHz) {
    constexpr std::size_t kBlock = 441;
    enum Kind { Quiet, Tone, Broad };
    std::vector<Kind> kinds;
    std::vector<double> power;
    for (std::size_t b = 0; (b + 1) * kBlock <= v.size(); ++b) {
        double e = 0, c = 0, s = 0;
        for (std::size_t i = 0; i < kBlock; ++i) {
            const double x = v[b * kBlock + i];
            const double phase = 2 * M_PI * toneHz * static_cast<double>(i) / kRate;
            e += x * x;
            c += x * std::cos(phase);
            s += x * std::sin(phase);
        }
        const double toneShare = 2 * (c * c + s * s) / kBlock / e;
        power.push_back(e / kBlock);
        kinds.push_back(e / kBlock < 1e4 ? Quiet : toneShare > 0.9 ? Tone : Broad);
    }
    Heard h;
    auto nearTone = [&](std::size_t b) {
        return (b > 0 && kinds[b - 1] == Tone) || (b + 1 < kinds.size() && kinds[b + 1] == Tone);
    };
    double tonePower = 0, speechPower = 0;
    int toneBlocks = 0, speechBlocks = 0;
    for (std::size_t b = 0; b < kinds.size(); ++b) {
        if (kinds[b] == Tone) {
            tonePower += power[b];
            ++toneBlocks;
        }
        if (kinds[b] != Broad || nearTone(b))
            continue;
        const std::size_t at = b * kBlock;
        if (!h.speech.empty() && at <= h.speech.back().end + 30 * kBlock) {
            for (std::size_t k = h.speech.back().end / kBlock; k < b; ++k)
                h.toneInSpeech = h.toneInSpeech || kinds[k] == Tone;
            h.speech.back().end = at + kBlock;
        } else {
            h.speech.push_back({at, at + kBlock});
        }
        speechPower += power[b];
        ++speechBlocks;
        for (std::size_t i = at; i < at + kBlock; ++i)
            h.speechPeak = std::max(h.speechPeak, std::abs(v[i]));
    }
    std::erase_if(h.speech, [](const Span& s) { return s.end - s.begin < 10 * kBlock; });
    h.toneRms = toneBlocks ? std::sqrt(tonePower / toneBlocks) : 0;
    h.speechRms = speechBlocks ? std::sqrt(speechPower / speechBlocks) : 0;

    std::size_t next = 0;
    constexpr int kThreshold = 2000;
    for (std::size_t i = 0; i < v.size(); ++i) {
        while (next < h.speech.size() && h.speech[next].end <= i)
            ++next;
        if (next < h.speech.size() && i >= h.speech[next].begin)
            continue;
        if (std::abs(v[i]) <= kThreshold)
            continue;
        if (!h.marks.empty() && i < h.marks.back().end + 100)
            h.marks.back().end = i + 1;
        else
            h.marks.push_back({i, i + 1});
    }
    return h;
}

// Marks and gaps of text sent at wpm, in frames, by the timing rules: a dot one unit,
// a dash three, one unit between the elements of a character, three after it (none
// inside a prosign), four more for a word space. Gaps are the spaces before each mark.
struct Timed {
    std::vector<long> marks, gaps;
};
void AddTimed(Timed& t, const std::string& text, int wpm, long& pendingGap) {
    static const std::map<char, std::string> kCodes = {
        {'P', ".--."}, {'A', ".-"}, {'R', ".-."}, {'I', ".."}, {'S', "..."}, {'5', "....."}, {'N', "-."},
    };
    const long unit = (1200 / wpm) * kRate / 1000;
    bool prosign = false;
    for (const char c : text) {
        if (c == '^') {
            prosign = true;
            continue;
        }
        if (c == ' ') {
            pendingGap += 7 * unit;
            prosign = false;
            continue;
        }
        for (const char e : kCodes.at(c)) {
            if (!t.marks.empty())
                t.gaps.push_back(pendingGap);
            t.marks.push_back(e == '.' ? unit : 3 * unit);
            pendingGap = unit;
        }
        pendingGap = prosign ? unit : 3 * unit;
    }
}

class SpokenRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QFile items(dir_.filePath(QStringLiteral("items.txt")));
        ASSERT_TRUE(items.open(QIODevice::WriteOnly));
        items.write("PARIS ^AR\n5NN\n");
    }
    std::string Render(const std::string& options) const {
        return std::string(LUMBREL_RENDER_EXE) + " --text " +
               Quote(dir_.filePath(QStringLiteral("items.txt"))) + " --seed 1 " + options;
    }
    QTemporaryDir dir_;
};

TEST_F(SpokenRender, EachItemIsSpokenWhereTheOrderSaysAndTheMorseKeepsItsTiming) {
    struct Case {
        const char* options;
        const char* pattern;  // M: the item's Morse at every speed, L: at the last, S: spoken
        std::vector<int> speeds;
    };
    const Case cases[] = {
        {"--speak after --wpm 20", "MS", {20}},
        {"--speak before --wpm 25 --items words", "SM", {25}},
        {"--speak ninja --speed-steps 20,30", "MSL", {20, 30}},
        {"--speak after --speed-steps 18,24,32 --items lines --phonetic", "MS", {18, 24, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const QString wav = dir_.filePath(QStringLiteral("out.wav"));
        ASSERT_EQ(Shell(Render(std::string(c.options) + " --speak-gap 1 -o " + Quote(wav))), 0);
        const std::vector<int> left = ReadLeft(wav);
        const Heard h = Listen(left, 750);
        EXPECT_FALSE(h.toneInSpeech);

        const bool lines = std::string(c.options).find("lines") != std::string::npos;
        const std::vector<std::string> items = lines ? std::vector<std::string>{"PARIS ^AR", "5NN"}
                                                     : std::vector<std::string>{"PARIS", "^AR", "5NN"};
        ASSERT_EQ(h.speech.size(), items.size());
        // Walk the pattern item by item: each Morse part must be exactly the item's
        // marks and gaps, each part at least the speak gap after the one before.
        std::size_t mark = 0, spoken = 0;
        std::optional<std::size_t> lastEnd;
        auto startsAfterGap = [&](std::size_t begin) {
            return !lastEnd || begin >= *lastEnd + kRate * 95 / 100;
        };
        for (const std::string& item : items) {
            for (const char part : std::string(c.pattern)) {
                if (part == 'S') {
                    const Span s = h.speech[spoken++];
                    EXPECT_TRUE(startsAfterGap(s.begin)) << item;
                    lastEnd = s.end;
                    continue;
                }
                Timed t;
                long gap = 0;
                const std::vector<int> speeds = part == 'L' ? std::vector<int>{c.speeds.back()} : c.speeds;
                for (std::size_t k = 0; k < speeds.size(); ++k)
                    AddTimed(t, (k > 0 ? " " : "") + item, speeds[k], gap);
                ASSERT_LE(mark + t.marks.size(), h.marks.size()) << item;
                EXPECT_TRUE(startsAfterGap(h.marks[mark].begin)) << item;
                for (std::size_t k = 0; k < t.marks.size(); ++k) {
                    const Span m = h.marks[mark + k];
                    EXPECT_NEAR(static_cast<long>(m.end - m.begin), t.marks[k], 80) << item << " mark " << k;
                    if (k > 0) {
                        EXPECT_NEAR(static_cast<long>(m.begin - h.marks[mark + k - 1].end), t.gaps[k - 1], 80)
                            << item << " gap " << k;
                    }
                }
                mark += t.marks.size();
                lastEnd = h.marks[mark - 1].end;
            }
        }
        EXPECT_EQ(mark, h.marks.size());
        EXPECT_EQ(spoken, h.speech.size());
        // As loud as the tone, within the peak.
        EXPECT_LE(h.speechPeak, 32000);
        EXPECT_GT(h.speechRms, 0.3 * h.toneRms);
        EXPECT_LT(h.speechRms, 1.1 * h.toneRms);
    }
}

TEST_F(SpokenRender, BadOptionsAndVoicesAreRefusedInOneLine) {
    const std::string render = LUMBREL_RENDER_EXE;
    const QString out = dir_.filePath(QStringLiteral("refused.wav"));
    const std::string cases[] = {
        render + " --speak sideways --calls",
        render + " --speak after --calls --voice no-such-voice -o " + Quote(out),
        render + " --speak after --speed-steps 30,20 --calls",
        render + " --speak after --speak-gap -1 --calls",
        render + " --speak after --items lines --calls",
        render + " --speak after --series " + Quote(dir_.filePath(QStringLiteral("s"))),
        render + " --speak after --text " + Quote(dir_.filePath(QStringLiteral("missing.txt"))),
        render + " --speak after --words --my-characters --chars 2 --word-filter q -o " + Quote(out),
    };
    for (const std::string& c : cases) {
        EXPECT_NE(Shell(c), 0) << c;
        EXPECT_FALSE(QFile::exists(out)) << c;
    }
    EXPECT_EQ(Shell(render + " --voice list"), 0);
}

// ---- Series ---------------------------------------------------------------------------

std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

TEST_F(SpokenRender, SeriesListsEveryLessonWithItsRealLengthAndNoItemTwice) {
    struct Case {
        const char* format;
        int lessons;
    };
    for (const Case c : {Case{"wav", 3}, Case{"mp3", 2}}) {
        SCOPED_TRACE(c.format);
        const QString folder = dir_.filePath(QStringLiteral("series-") + QLatin1String(c.format));
        ASSERT_EQ(
            Shell(std::string(LUMBREL_RENDER_EXE) + " --speak after --calls --seed 7 --minutes 1 --format " +
                  c.format + " --series " + Quote(folder) + " --lessons " + std::to_string(c.lessons) +
                  " --series-url https://example.org/cw"),
            0);
        const std::string feed = Quote(folder + QStringLiteral("/feed.xml"));
        EXPECT_EQ(Shell("xmllint --noout " + feed), 0);
        EXPECT_EQ(Capture("xmllint --xpath 'count(/rss[@version=\"2.0\"]/channel/item)' " + feed),
                  std::to_string(c.lessons));
        QFile m3u(folder + QStringLiteral("/lessons.m3u"));
        ASSERT_TRUE(m3u.open(QIODevice::ReadOnly));
        const QStringList playlist =
            QString::fromUtf8(m3u.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(playlist.size(), 1 + 2 * c.lessons);
        EXPECT_EQ(playlist[0], QStringLiteral("#EXTM3U"));

        QSet<QString> calls;
        int callCount = 0;
        for (int n = 1; n <= c.lessons; ++n) {
            const QString name = QStringLiteral("lesson-%1.%2").arg(n, 2, 10, QLatin1Char('0')).arg(c.format);
            const QString path = folder + QLatin1Char('/') + name;
            const qint64 bytes = QFileInfo(path).size();
            ASSERT_GT(bytes, 0) << name.toStdString();
            const std::string item = "/rss/channel/item[" + std::to_string(n) + "]";
            EXPECT_EQ(Capture("xmllint --xpath 'string(" + item + "/enclosure/@url)' " + feed),
                      "https://example.org/cw/" + name.toStdString());
            EXPECT_EQ(Capture("xmllint --xpath 'string(" + item + "/enclosure/@length)' " + feed),
                      std::to_string(bytes));
            const QString title =
                QString::fromStdString(Capture("xmllint --xpath 'string(" + item + "/title)' " + feed));
            EXPECT_TRUE(title.contains(
                QRegularExpression(QStringLiteral("^Lesson %1: [A-Z0-9/]+ at 25 WPM$").arg(n))))
                << title.toStdString();
            EXPECT_EQ(playlist[2 * n], name);
            EXPECT_TRUE(playlist[2 * n - 1].endsWith(QLatin1Char(',') + title));
            // The duration, from the audio itself for WAV (at least the minute asked for).
            const QString duration = QString::fromStdString(
                Capture("xmllint --xpath 'string(" + item + "/*[local-name()=\"duration\"])' " + feed));
            const QStringList hms = duration.split(QLatin1Char(':'));
            ASSERT_EQ(hms.size(), 3);
            const int seconds = hms[0].toInt() * 3600 + hms[1].toInt() * 60 + hms[2].toInt();
            EXPECT_GE(seconds, 60);
            EXPECT_TRUE(playlist[2 * n - 1].startsWith(QStringLiteral("#EXTINF:%1,").arg(seconds)));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray audio = file.readAll();
            if (QLatin1String(c.format) == QLatin1String("wav")) {
                EXPECT_NEAR(static_cast<double>(ReadLeft(path).size()) / kRate, seconds, 0.5);
            } else {
                // ID3v2 with the title and track before the audio, the ID3v1 tag at the end.
                EXPECT_TRUE(audio.startsWith("ID3"));
                EXPECT_TRUE(audio.left(512).contains(title.toUtf8()));
                const qsizetype track = audio.indexOf("TRCK");  // id, size, flags, encoding, text
                ASSERT_GT(track, 0);
                EXPECT_EQ(audio.mid(track + 11, QByteArray::number(n).size()), QByteArray::number(n));
                EXPECT_EQ(audio.right(128).left(3), QByteArray("TAG"));
                EXPECT_EQ(audio.right(128).mid(3, name.size() - 4), name.left(name.size() - 4).toLatin1());
            }
            QFile list(folder + QStringLiteral("/lesson-%1.txt").arg(n, 2, 10, QLatin1Char('0')));
            ASSERT_TRUE(list.open(QIODevice::ReadOnly));
            for (const QByteArray& call : list.readAll().split('\n'))
                if (!call.isEmpty()) {
                    calls.insert(QString::fromLatin1(call));
                    ++callCount;
                }
        }
        EXPECT_GT(callCount, 3 * c.lessons);
        EXPECT_EQ(calls.size(), callCount);  // no call twice across the series
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.new")));
    }
}

}  // namespace
