#include "tools/render/RenderOptions.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "morse/MorseCode.h"
#include "morse/SampleFormat.h"
#include "tools/render/CommandLine.h"

namespace lumbrel::render {

QString RenderUsage() {
    return QStringLiteral(
        "Usage: lumbrel-render [options] [TEXT...]\n"
        "       lumbrel-render [options] -f FILE\n"
        "       lumbrel-render [options] --groups | --words [FILE] | --qso [FILE] | --text FILE\n"
        "Renders Morse code to a WAV file (44100 Hz, 16-bit, stereo).\n"
        "\n"
        "  -o FILE               output file (default lumbrel.wav); a name ending in .mp3\n"
        "                        is MP3 (needs the LAME library, libmp3lame0); - is WAV\n"
        "                        on standard output\n"
        "  --bitrate KBPS        MP3 bit rate: 16, 32, 48, 64, 80, 96, 112 or 128 (default 32);\n"
        "                        the MP3 is one channel at 11025 Hz (22050 Hz for a tone\n"
        "                        above 4000 Hz or a bit rate above 64)\n"
        "  -f FILE               render the text of FILE; - reads standard input\n"
        "  --wpm N               character speed, 6 to 200 WPM (default 25; 6 to 80 in a\n"
        "                        session)\n"
        "  --tone HZ             tone pitch, 100 to 5000 Hz (default 750)\n"
        "  --effective PERMILLE  effective speed in thousandths of the character speed,\n"
        "                        1 to 1000 (default 1000: full speed)\n"
        "  --effective-wpm W     effective speed in WPM, 1 to the character speed, timed on\n"
        "                        PARIS over the whole output: a course plan's 12/8 is\n"
        "                        --wpm 12 --effective-wpm 8; where only the word spaces\n"
        "                        stretch (--effective-mode word), they take all of it\n"
        "  --pause S             seconds of silence at the start, 0 to 60 (default none;\n"
        "                        before random groups the countdown, default 1)\n"
        "  --order koch|mfj      learning order whose character map is used (default koch)\n"
        "  --seed N              seed of the random generator (default: the clock)\n"
        "  --help                show this help\n"
        "  --version             show the version\n"
        "\n"
        "Random-group sessions, played by the trainer's own engine:\n"
        "  --groups              a Koch session of random groups instead of TEXT\n"
        "  --play                play it on the sound card instead of writing -o\n"
        "  --transcript FILE     write the text that was sent to FILE, and beside it the\n"
        "                        session's facts (FILE less .txt, plus .session) for\n"
        "                        lumbrel-score --save\n"
        "  --chars N             number of Koch characters, 2 to 40 (default 2)\n"
        "  --minutes N           session length, 1 to 60 minutes (default 5)\n"
        "  --signal S1..S7|S9    signal strength (default S9)\n"
        "  --noise off|S3|S5|S7|S9  band noise (default off)\n"
        "  --qsb fast|slow       fading (default none)\n"
        "  --qsb-type shallow|deep  depth of the fading (default shallow)\n"
        "  --speed-dither        vary the speed by up to 5 WPM (above 15 WPM, full effective speed)\n"
        "  --pitch-dither        vary the pitch by +/- 25 Hz\n"
        "  --straight-key        straight-key timing\n"
        "  --fist good|bad       size of the straight-key variation (default good)\n"
        "  --weighting           variable weighting\n"
        "  --chirp               chirp\n"
        "  --favour-recent       favour the characters added last\n"
        "  --introduce           play the newest of the --chars characters five times alone\n"
        "                        first, as after the character count rose\n"
        "  --group-length N|MIN-MAX  groups of N characters, or MIN to MAX drawn evenly,\n"
        "                        1 to 20 (default: 1 to 8 drawn evenly)\n"
        "  --favour-missed       favour the characters missed in the last checked sessions\n"
        "                        and drills of the history database, as the setup option does\n"
        "  --qrm                 two interfering stations near the pitch, mixed into the output\n"
        "\n"
        "Words, sample QSOs and text files, played by the trainer's own engine with every\n"
        "character in use (with --play, --transcript and the signal options above):\n"
        "  --words [FILE]        random words until --minutes have passed, ending with a\n"
        "                        whole word (default: Word Files/1000 Common Words.txt)\n"
        "  --word-filter LETTERS only words that start with one of LETTERS (default a-z)\n"
        "  --max-word-length N   only words of at most N characters, 2 to 100 (default 20)\n"
        "  --words-size all|500|250|100  a random selection of that many words (default all)\n"
        "  --my-characters       only words made of the first --chars characters\n"
        "  --effective-mode word|char  at an effective speed, stretch only the spaces\n"
        "                        between words (default) or every character as random\n"
        "                        groups always do\n"
        "  --qso [FILE]          one random line of a QSO file (default: QSO Files/QSO.txt);\n"
        "                        --qso generated: a contact made at the moment from --seed\n"
        "  --text FILE           FILE line by line to its end; a file of parameter lines\n"
        "                        (text,wpm,weighting,drift,chirp) plays each line as a station\n"
        "                        and its transcript lists the stations\n"
        "  Unlike -f, --words, --qso and --text go through the session engine: effective\n"
        "  speed, dither, noise and prosigns as in the program, and a leading word space.\n"
        "\n"
        "In a session --wpm takes 6 to 80 and --tone 350 to 1500 Hz.\n"
        "\n"
        "Characters without a Morse code count as word spaces; ^ joins the characters\n"
        "that follow into one prosign up to the next space.\n");
}

ParseResult ParseRenderOptions(const QStringList& arguments) {
    RenderOptions o;
    bool effectiveGiven = false;
    auto fail = [](const QString& why) {
        return ParseResult{std::nullopt, why};
    };
    // Options only a session uses, as given, each with what takes it.
    struct SessionOption {
        QString name;
        const char* takenBy;
    };
    std::vector<SessionOption> sessionOnly;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        static constexpr std::pair<const char*, const char*> kSessionOnly[] = {
            {"--transcript", "a session (--groups, --words, --qso or --text)"},
            {"--chars", "--groups"},
            {"--favour-recent", "--groups"},
            {"--introduce", "--groups"},
            {"--group-length", "--groups"},
            {"--favour-missed", "--groups"},
            {"--minutes", "--groups or --words"},
            {"--effective-mode", "--words, --qso or --text"},
            {"--signal", "a session (--groups, --words, --qso or --text)"},
            {"--noise", "a session (--groups, --words, --qso or --text)"},
            {"--qsb", "a session (--groups, --words, --qso or --text)"},
            {"--qsb-type", "a session (--groups, --words, --qso or --text)"},
            {"--speed-dither", "a session (--groups, --words, --qso or --text)"},
            {"--pitch-dither", "a session (--groups, --words, --qso or --text)"},
            {"--straight-key", "a session (--groups, --words, --qso or --text)"},
            {"--fist", "a session (--groups, --words, --qso or --text)"},
            {"--weighting", "a session (--groups, --words, --qso or --text)"},
            {"--chirp", "a session (--groups, --words, --qso or --text)"},
            {"--qrm", "a session (--groups, --words, --qso or --text)"},
        };
        for (const auto& [name, takenBy] : kSessionOnly)
            if (arg == QLatin1String(name))
                sessionOnly.push_back({arg, takenBy});
        auto value = [&](QString& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        // One of the given words (case-insensitive); its position goes to out.
        auto choice = [&](std::initializer_list<const char*> words, int& out) {
            QString text;
            if (!value(text))
                return false;
            int k = 0;
            for (const char* w : words) {
                if (text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0) {
                    out = k;
                    return true;
                }
                ++k;
            }
            return false;
        };
        auto number = [&](long long low, long long high, int& out) {
            return TakeWholeNumber(arguments, i, low, high, out);
        };

        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("-o")) {
            if (!value(o.output) || o.output.isEmpty())
                return fail(QStringLiteral("-o needs a file name"));
            o.outputGiven = true;
        } else if (arg == QLatin1String("-f")) {
            if (!value(o.textFile) || o.textFile.isEmpty())
                return fail(QStringLiteral("-f needs a file name"));
        } else if (arg == QLatin1String("--wpm")) {
            if (auto e = number(6, 200, o.wpm))
                return fail(*e);
        } else if (arg == QLatin1String("--tone")) {
            if (auto e = number(100, 5000, o.toneHz))
                return fail(*e);
        } else if (arg == QLatin1String("--effective")) {
            if (auto e = number(1, 1000, o.effectivePermille))
                return fail(*e);
            effectiveGiven = true;
        } else if (arg == QLatin1String("--effective-wpm")) {
            if (auto e = number(1, 200, o.effectiveWpm))
                return fail(*e);
        } else if (arg == QLatin1String("--order")) {
            QString order;
            if (!value(order))
                return fail(QStringLiteral("--order needs koch or mfj"));
            if (order.compare(QLatin1String("koch"), Qt::CaseInsensitive) == 0)
                o.order = LearningOrder::Koch;
            else if (order.compare(QLatin1String("mfj"), Qt::CaseInsensitive) == 0)
                o.order = LearningOrder::Mfj;
            else
                return fail(QStringLiteral("--order takes koch or mfj, not '%1'").arg(order));
        } else if (arg == QLatin1String("--seed")) {
            QString text;
            if (!value(text))
                return fail(QStringLiteral("--seed needs a value"));
            const auto n = ParseNumber(text);
            if (!n || *n < 0 || *n > 0xFFFFFFFFLL)
                return fail(
                    QStringLiteral("--seed takes a whole number from 0 to 4294967295, not '%1'").arg(text));
            o.seed = static_cast<std::uint32_t>(*n);
        } else if (arg == QLatin1String("--groups")) {
            o.groups = true;
        } else if (arg == QLatin1String("--play")) {
            o.play = true;
        } else if (arg == QLatin1String("--transcript")) {
            if (!value(o.transcript) || o.transcript.isEmpty())
                return fail(QStringLiteral("--transcript needs a file name"));
        } else if (arg == QLatin1String("--chars")) {
            if (auto e = number(2, 40, o.characters))
                return fail(*e);
        } else if (arg == QLatin1String("--minutes")) {
            if (auto e = number(1, 60, o.minutes))
                return fail(*e);
        } else if (arg == QLatin1String("--pause")) {
            if (auto e = number(0, 60, o.pause))
                return fail(*e);
        } else if (arg == QLatin1String("--effective-mode")) {
            if (!choice({"word", "char"}, o.effectiveMode))
                return fail(QStringLiteral("--effective-mode takes word or char"));
        } else if (arg == QLatin1String("--signal")) {
            if (!choice({"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S9"}, o.signalIndex))
                return fail(QStringLiteral("--signal takes S1 to S7 or S9"));
        } else if (arg == QLatin1String("--noise")) {
            if (!choice({"off", "S3", "S5", "S7", "S9"}, o.noiseIndex))
                return fail(QStringLiteral("--noise takes off, S3, S5, S7 or S9"));
        } else if (arg == QLatin1String("--qsb")) {
            o.qsb = true;
            if (!choice({"fast", "slow"}, o.qsbMode))
                return fail(QStringLiteral("--qsb takes fast or slow"));
        } else if (arg == QLatin1String("--qsb-type")) {
            if (!choice({"shallow", "deep"}, o.qsbType))
                return fail(QStringLiteral("--qsb-type takes shallow or deep"));
        } else if (arg == QLatin1String("--fist")) {
            if (!choice({"good", "bad"}, o.fist))
                return fail(QStringLiteral("--fist takes good or bad"));
        } else if (arg == QLatin1String("--speed-dither")) {
            o.speedDither = true;
        } else if (arg == QLatin1String("--pitch-dither")) {
            o.pitchDither = true;
        } else if (arg == QLatin1String("--straight-key")) {
            o.straightKey = true;
        } else if (arg == QLatin1String("--weighting")) {
            o.weighting = true;
        } else if (arg == QLatin1String("--chirp")) {
            o.chirp = true;
        } else if (arg == QLatin1String("--favour-recent")) {
            o.favourRecent = true;
        } else if (arg == QLatin1String("--introduce")) {
            o.introduce = true;
        } else if (arg == QLatin1String("--group-length")) {
            QString text;
            if (!value(text))
                return fail(QStringLiteral("--group-length needs N or MIN-MAX"));
            const std::optional<GroupLength> length = GroupLength::Parse(text);
            if (!length)
                return fail(QStringLiteral("--group-length takes N or MIN-MAX, 1 to %1 with MIN at most MAX, "
                                           "not '%2'")
                                .arg(GroupLength::kLongest)
                                .arg(text));
            o.groupLength = *length;
        } else if (arg == QLatin1String("--favour-missed")) {
            o.favourMissed = true;
        } else if (arg == QLatin1String("--qrm")) {
            o.qrm = true;
        } else if (arg == QLatin1String("--bitrate")) {
            int kbps = 0;
            if (auto e = number(16, 128, kbps))
                return fail(*e);
            if (kbps % 16 != 0)
                return fail(QStringLiteral("--bitrate takes 16, 32, 48, 64, 80, 96, 112 or 128"));
            o.mp3BitRate = kbps / 16 - 1;
        } else if (arg == QLatin1String("--words") || arg == QLatin1String("--qso")) {
            // An optional FILE: the next argument when it is not an option.
            QString file;
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-')))
                file = arguments[++i];
            if (arg == QLatin1String("--words")) {
                o.words = true;
                o.wordsFile = file;
            } else {
                o.qso = true;
                o.qsoFile = file;
            }
        } else if (arg == QLatin1String("--text")) {
            if (!value(o.textSession) || o.textSession.isEmpty())
                return fail(QStringLiteral("--text needs a file name"));
        } else if (arg == QLatin1String("--word-filter")) {
            QString letters;
            if (!value(letters) || letters.isEmpty())
                return fail(QStringLiteral("--word-filter needs letters"));
            const std::optional<int> mask = WordFilterMask(letters);
            if (!mask)
                return fail(QStringLiteral("--word-filter takes letters a to z, not '%1'").arg(letters));
            o.wordFilter = *mask;
            o.wordOptionGiven = true;
        } else if (arg == QLatin1String("--max-word-length")) {
            if (auto e = number(2, 100, o.maxWordLength))
                return fail(*e);
            o.wordOptionGiven = true;
        } else if (arg == QLatin1String("--my-characters")) {
            o.myCharacters = true;
            o.wordOptionGiven = true;
        } else if (arg == QLatin1String("--words-size")) {
            if (!choice({"all", "500", "250", "100"}, o.wordsSize))
                return fail(QStringLiteral("--words-size takes all, 500, 250 or 100"));
            o.wordOptionGiven = true;
        } else if (arg == QLatin1String("--")) {
            o.text += arguments.mid(i + 1);
            break;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return fail(QStringLiteral("unknown option '%1'").arg(arg));
        } else {
            o.text << arg;
        }
    }
    if (o.help || o.version)
        return {o, {}};
    if (o.effectiveWpm > 0) {
        if (effectiveGiven)
            return fail(QStringLiteral("give either --effective or --effective-wpm, not both"));
        if (o.effectiveWpm > o.wpm)
            return fail(QStringLiteral("--effective-wpm takes 1 to the character speed (--wpm %1), not %2")
                            .arg(o.wpm)
                            .arg(o.effectiveWpm));
        // The stretch that plays W, by what it stretches (the cap may hold it back).
        o.effectivePermille =
            o.effectiveWpm >= o.wpm ? 1000 : PermilleForWpm(o.wpm, o.effectiveWpm, o.StretchMode());
    }
    const int sessions =
        (o.groups ? 1 : 0) + (o.words ? 1 : 0) + (o.qso ? 1 : 0) + (o.textSession.isEmpty() ? 0 : 1);
    if (sessions > 1)
        return fail(QStringLiteral("give one of --groups, --words, --qso and --text"));
    if (o.wordOptionGiven && !o.words)
        return fail(QStringLiteral(
            "--word-filter, --max-word-length, --words-size and --my-characters go with --words"));
    if (o.Session() && !o.groups && (o.introduce || o.groupLength != GroupLength{}))
        return fail(QStringLiteral("--introduce and --group-length go with --groups"));
    if (o.Session()) {
        if (!o.text.isEmpty() || !o.textFile.isEmpty())
            return fail(QStringLiteral("a session takes no TEXT or -f FILE"));
        if (o.wpm > 80)
            return fail(QStringLiteral("in a session --wpm takes 6 to 80"));
        if (o.toneHz < 350 || o.toneHz > 1500)
            return fail(QStringLiteral("in a session --tone takes 350 to 1500 Hz"));
        if (o.play && o.outputGiven)
            return fail(QStringLiteral("give either --play or -o FILE, not both"));
        return {o, {}};
    }
    if (o.play)
        return fail(QStringLiteral("--play goes with a session (--groups, --words, --qso or --text)"));
    // Plain text renders the characters alone: what it would ignore is refused.
    if (!sessionOnly.empty())
        return fail(QStringLiteral("%1 is not used with %2: it goes with %3")
                        .arg(sessionOnly.front().name,
                             o.textFile.isEmpty() ? QStringLiteral("TEXT") : QStringLiteral("-f FILE"),
                             QLatin1String(sessionOnly.front().takenBy)));
    if (!o.textFile.isEmpty() && !o.text.isEmpty())
        return fail(QStringLiteral("give either TEXT or -f FILE, not both"));
    if (o.textFile.isEmpty() && o.text.isEmpty())
        return fail(QStringLiteral("nothing to render: give TEXT or -f FILE"));
    return {o, {}};
}

QString StretchCapNote(const RenderOptions& options) {
    if (!MorseCode::StretchCapped(options.wpm, options.effectivePermille))
        return {};
    const Stretch stretch = options.StretchMode();
    // The speed asked for: W, or what the per-mille would give without the cap (a unit
    // stretched by 1000 / per-mille, 46 units of characters and 7 of word space a word).
    double asked = options.effectiveWpm;
    if (asked <= 0) {
        const double unit = MorseCode::UnitValues(options.wpm);
        const double stretched = unit * 1000.0 / std::max(options.effectivePermille, 1);
        asked = 60.0 * audio::kFrameRate * 2 * 53.0 / 50.0 /
                (stretch == Stretch::EveryUnit ? 53.0 * stretched : 46.0 * unit + 7.0 * stretched);
    }
    return QStringLiteral(
               "note: the effective speed asked for, %1 WPM, is slower than the renderer stretches "
               "to at %2 WPM: it plays at %3 WPM, the slowest there")
        .arg(asked, 0, 'f', 1)
        .arg(options.wpm)
        .arg(SlowestWpm(options.wpm, stretch), 0, 'f', 1);
}

}  // namespace lumbrel::render
