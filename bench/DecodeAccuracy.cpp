// lumbrel-decode-accuracy: what bench/decode_accuracy.sh measures the decoder with.
//
//   keys                      key timelines with a Gaussian spread (standard deviation)
//                             of 20 % of a unit on every mark and gap (25 and 30 % at
//                             20 WPM), decoded in the core: characters right
//   wav DIR WPM SNR_DB...     DIR/SNR.wav (44100 Hz mono, 700 Hz, 5 ms edges) of one text
//                             in white noise of that SNR in 3 kHz, and DIR/text.txt
//   score EXPECTED DECODED    the share of characters right, by edit distance
//
// The sendings follow the timing rules: dot 1 unit, dash 3, element gap 1, character
// gap 3, word gap 7; unit = 1200 / WPM milliseconds.
#include <QFile>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "decoder/TimelineDecoder.h"

namespace {

using lumbrel::KeyTimeline;

const char* kWords[] = {"the",  "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "cq",  "de",
                        "k",    "73",    "rst",   "599", "name",  "qth",  "wx",   "es",  "tnx", "fb",
                        "op",   "ant",   "rig",   "hr",  "5nn",   "tu",   "ur",   "?",   "/p",  "km",
                        "0123", "4567",  "89",    ".",   ",",     "^ar",  "^kn"};

QString Text(int words, unsigned seed) {
    std::mt19937 random(seed);
    QStringList out;
    for (int i = 0; i < words; ++i)
        out << QString::fromLatin1(kWords[random() % (sizeof kWords / sizeof *kWords)]);
    return out.join(QLatin1Char(' '));
}

// Appends the sending of text at wpm from *now, each mark and gap spread by spread units.
void Send(const QString& text, double wpm, double spread, std::mt19937& random, KeyTimeline& out,
          double& now) {
    std::normal_distribution<double> jitter(0, spread);
    const double unit = 1200 / wpm;
    const auto length = [&](double units) {
        return std::max(0.2, units + jitter(random)) * unit;
    };
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        QStringList characters;
        if (word.startsWith(QLatin1Char('^')))
            characters << word;
        else
            for (QChar c : word)
                characters << QString(c);
        for (qsizetype c = 0; c < characters.size(); ++c) {
            const QByteArray code = lumbrel::TimelineDecoder::CodeOf(characters[c]);
            for (qsizetype e = 0; e < code.size(); ++e) {
                const double mark = length(code[e] == '.' ? 1 : 3);
                out.marks.push_back({now, now + mark});
                const bool endsCharacter = e + 1 == code.size();
                const bool endsWord = endsCharacter && c + 1 == characters.size();
                now += mark + length(endsWord ? 7 : endsCharacter ? 3 : 1);
            }
        }
    }
}

// Characters right, by edit distance over the characters (spaces not counted).
double Accuracy(const QString& expected, const QString& decoded) {
    QString a = expected;
    QString b = decoded;
    a.remove(QLatin1Char(' '));
    b.remove(QLatin1Char(' '));
    std::vector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return a.isEmpty() ? 0 : 100.0 * std::max<qsizetype>(0, a.size() - row[b.size()]) / a.size();
}

int Keys() {
    std::printf("sending                        characters  right\n");
    for (int wpm : {5, 10, 20, 30, 40, 60}) {
        std::mt19937 random(wpm);
        const QString text = Text(400, wpm);
        KeyTimeline timeline;
        double now = 0;
        Send(text, wpm, 0.2, random, timeline, now);
        const QString decoded = lumbrel::TimelineDecoder::Decode(timeline).text;
        if (qEnvironmentVariableIsSet("LUMBREL_BENCH_SHOW"))
            std::printf("%s\n%s\n", qPrintable(text), qPrintable(decoded));
        std::printf("%2d WPM, 20 %% spread             %6lld  %6.2f %%\n", wpm,
                    static_cast<long long>(QString(text).remove(QLatin1Char(' ')).size()),
                    Accuracy(text, decoded));
    }
    for (double spread : {0.25, 0.3}) {
        std::mt19937 random(static_cast<unsigned>(spread * 100));
        const QString text = Text(400, 77);
        KeyTimeline timeline;
        double now = 0;
        Send(text, 20, spread, random, timeline, now);
        std::printf("20 WPM, %2.0f %% spread             %6lld  %6.2f %%\n", spread * 100,
                    static_cast<long long>(QString(text).remove(QLatin1Char(' ')).size()),
                    Accuracy(text, lumbrel::TimelineDecoder::Decode(timeline).text));
    }
    std::mt19937 random(1540);
    const QString first = Text(200, 15);
    const QString second = Text(200, 40);
    KeyTimeline timeline;
    double now = 0;
    Send(first, 15, 0.2, random, timeline, now);
    Send(second, 40, 0.2, random, timeline, now);
    const QString text = first + QLatin1Char(' ') + second;
    std::printf("15 -> 40 WPM, 20 %% spread       %6lld  %6.2f %%\n",
                static_cast<long long>(QString(text).remove(QLatin1Char(' ')).size()),
                Accuracy(text, lumbrel::TimelineDecoder::Decode(timeline).text));
    return 0;
}

bool WriteWav(const QString& path, const std::vector<std::int16_t>& samples) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto u32 = [](std::uint32_t v) {
        return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24);
    };
    const std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray header = "RIFF" + u32(36 + bytes) + "WAVEfmt " + u32(16);
    header += QByteArray("\x01\x00\x01\x00", 4) + u32(44100) + u32(88200) + QByteArray("\x02\x00\x10\x00", 4);
    header += "data" + u32(bytes);
    file.write(header);
    file.write(reinterpret_cast<const char*>(samples.data()), bytes);
    return file.error() == QFile::NoError;
}

int Wav(const QString& dir, double wpm, const QStringList& snrs) {
    const QString text = Text(150, 20);
    std::mt19937 random(7);
    KeyTimeline timeline;
    double now = 500;
    Send(text, wpm, 0, random, timeline, now);
    const int rate = 44100;
    const std::size_t frames = static_cast<std::size_t>((now + 500) * rate / 1000);
    // The tone: amplitude 1 during marks, 5 ms raised-cosine edges.
    std::vector<double> tone(frames, 0);
    const double edge = 0.005 * rate;
    for (const lumbrel::KeyMark& m : timeline.marks) {
        const double a = m.downMs * rate / 1000;
        const double b = m.upMs * rate / 1000;
        for (std::size_t f = static_cast<std::size_t>(a);
             f < std::min(frames, static_cast<std::size_t>(b + edge)); ++f) {
            double g = 1;
            if (f < a + edge)
                g = 0.5 - 0.5 * std::cos(M_PI * (f - a) / edge);
            if (f > b)
                g = 0.5 + 0.5 * std::cos(M_PI * (f - b) / edge);
            tone[f] = g * std::sin(2 * M_PI * 700.0 * f / rate);
        }
    }
    QFile textFile(dir + QStringLiteral("/text.txt"));
    if (!textFile.open(QIODevice::WriteOnly))
        return 1;
    textFile.write(text.toUtf8() + '\n');
    for (const QString& s : snrs) {
        // Signal power 1/2; noise power in 3 kHz = total * 3000 / (rate / 2).
        const double snr = std::pow(10.0, s.toDouble() / 10);
        const double sigma = std::sqrt(0.5 / snr * (rate / 2.0) / 3000.0);
        const double scale = 32767 / (1 + 4 * sigma);
        std::normal_distribution<double> noise(0, sigma);
        std::mt19937 noiseRandom(static_cast<unsigned>(1000 + s.toDouble() * 10));
        std::vector<std::int16_t> samples(frames);
        for (std::size_t f = 0; f < frames; ++f)
            samples[f] = static_cast<std::int16_t>(
                std::clamp(std::lround((tone[f] + noise(noiseRandom)) * scale), -32767L, 32767L));
        if (!WriteWav(dir + QLatin1Char('/') + s + QStringLiteral(".wav"), samples))
            return 1;
    }
    return 0;
}

QString ReadText(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).simplified().toLower()
                                          : QString();
}

}  // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("keys"))
        return Keys();
    if (mode == QLatin1String("wav") && argc > 4) {
        QStringList snrs;
        for (int i = 4; i < argc; ++i)
            snrs << QString::fromLatin1(argv[i]);
        return Wav(QString::fromLocal8Bit(argv[2]), std::atof(argv[3]), snrs);
    }
    if (mode == QLatin1String("score") && argc == 4) {
        std::printf("%.2f\n", Accuracy(ReadText(argv[2]), ReadText(argv[3])));
        return 0;
    }
    std::fprintf(stderr,
                 "usage: lumbrel-decode-accuracy keys | wav DIR WPM SNR_DB... | score EXPECTED DECODED\n");
    return 2;
}
