// lumbrel-decode [--fist] [--expect TEXT] --keys FILE
// lumbrel-decode [--fist] [--expect TEXT] [--pitch HZ] FILE.wav
// lumbrel-decode --print-keys [--pitch HZ] FILE.wav
//
// Prints the text of a sending on one line: of a key timeline (lines "TIME_MS down" and
// "TIME_MS up") or of the strongest tone of a WAV file. --fist adds the fist report as
// "name value" lines. Exit status 0; 2 for a usage error or input that cannot be read
// (not a WAV, events out of order, an empty file), said in one line.
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "decoder/FistReport.h"
#include "decoder/KeyTimeline.h"
#include "decoder/TimelineDecoder.h"
#include "decoder/ToneKeying.h"
#include "decoder/WavReader.h"
#include "text/PlainFile.h"

namespace {

constexpr int kBadInput = 2;
constexpr qint64 kMaxKeyFileBytes = 16LL * 1024 * 1024;  // a million events, hours of sending

void Print(std::FILE* to, const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
}

QString Usage() {
    return QStringLiteral(
        "usage: lumbrel-decode [--fist] [--expect TEXT] --keys FILE\n"
        "       lumbrel-decode [--fist] [--expect TEXT] [--pitch HZ] FILE.wav\n"
        "       lumbrel-decode --print-keys [--pitch HZ] FILE.wav\n"
        "Prints the text of a Morse sending on one line, following the sender's speed\n"
        "and timing; a prosign is written ^ar, a code of no character *.\n"
        "\n"
        "  --keys FILE   a key timeline: one event a line, \"TIME_MS down\" or \"TIME_MS up\",\n"
        "                the times (milliseconds) rising\n"
        "  FILE.wav      a WAV file (mono or stereo, any common rate): its strongest tone\n"
        "  --pitch HZ    the tone to read in the WAV file instead of the strongest\n"
        "  --fist        add the fist report after the text, as \"name value\" lines\n"
        "  --print-keys  print the key timeline read (lines as --keys reads them) instead\n"
        "                of the text\n"
        "  --expect TEXT the text that was to be sent: the report names each character\n"
        "                read otherwise and why\n"
        "  --help        show this help\n"
        "  --version     show the version");
}

int Fail(const QString& text) {
    Print(stderr, QStringLiteral("lumbrel-decode: ") + text);
    return kBadInput;
}

QString FileProblem(const QString& path, const lumbrel::PlainFileBytes& file) {
    switch (file.status) {
        case lumbrel::PlainFileBytes::Status::Read:
            return {};
        case lumbrel::PlainFileBytes::Status::Missing:
            return QStringLiteral("there is no file %1").arg(path);
        case lumbrel::PlainFileBytes::Status::NotPlain:
            return QStringLiteral("%1 is not a plain file (a device, a pipe or a folder)").arg(path);
        case lumbrel::PlainFileBytes::Status::TooLarge:
            return QStringLiteral("%1 is larger than %2 MiB").arg(path).arg(kMaxKeyFileBytes >> 20);
        case lumbrel::PlainFileBytes::Status::Unreadable:
            break;
    }
    return QStringLiteral("cannot read %1: %2").arg(path, file.error);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumbrel-decode"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMBREL_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        Print(stdout, Usage());
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("lumbrel-decode %1").arg(QStringLiteral(LUMBREL_VERSION)));
        return 0;
    }
    bool fist = false;
    bool printKeys = false;
    QString keys, wav, expect, pitchText;
    bool hasExpect = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool takesValue =
            a == QLatin1String("--keys") || a == QLatin1String("--pitch") || a == QLatin1String("--expect");
        if (takesValue && i + 1 == args.size())
            return Fail(QStringLiteral("%1 needs a value (--help shows the usage)").arg(a));
        if (a == QLatin1String("--fist")) {
            fist = true;
        } else if (a == QLatin1String("--print-keys")) {
            printKeys = true;
        } else if (a == QLatin1String("--keys")) {
            keys = args[++i];
        } else if (a == QLatin1String("--pitch")) {
            pitchText = args[++i];
        } else if (a == QLatin1String("--expect")) {
            expect = args[++i];
            hasExpect = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return Fail(QStringLiteral("unknown option %1 (--help shows the usage)").arg(a));
        } else if (wav.isEmpty()) {
            wav = a;
        } else {
            return Fail(QStringLiteral("expected one file (--help shows the usage)"));
        }
    }
    if (keys.isEmpty() == wav.isEmpty())
        return Fail(QStringLiteral("expected either --keys FILE or a WAV file (--help shows the usage)"));
    double pitch = 0;
    if (!pitchText.isEmpty()) {
        bool ok = false;
        pitch = pitchText.toDouble(&ok);
        if (!ok || !(pitch >= 50 && pitch <= 10000))
            return Fail(QStringLiteral("--pitch takes a tone of 50 to 10000 Hz, not %1").arg(pitchText));
        if (!keys.isEmpty())
            return Fail(QStringLiteral("--pitch is for a WAV file, not --keys."));
    }

    lumbrel::KeyTimeline timeline;
    QStringList head;
    if (!keys.isEmpty()) {
        const lumbrel::PlainFileBytes file = lumbrel::ReadPlainFile(keys, kMaxKeyFileBytes);
        if (!file.Ok())
            return Fail(FileProblem(keys, file));
        lumbrel::KeyTimelineText read = lumbrel::ParseKeyEvents(file.bytes);
        if (!read.Ok())
            return Fail(QStringLiteral("%1: %2").arg(keys, read.problem));
        timeline = std::move(read.timeline);
    } else {
        const lumbrel::WavAudio audio = lumbrel::WavReader::ReadFile(wav);
        if (!audio.Ok())
            return Fail(audio.problem.contains(wav) ? audio.problem
                                                    : QStringLiteral("%1: %2").arg(wav, audio.problem));
        if (pitch >= audio.rate / 2.0)
            return Fail(QStringLiteral("--pitch %1 Hz is above half the file's rate of %2 Hz")
                            .arg(pitchText)
                            .arg(audio.rate));
        if (pitch == 0)
            pitch = lumbrel::ToneKeying::StrongestTone(audio.samples, audio.rate);
        if (pitch > 0)
            timeline = lumbrel::ToneKeying::Read(audio.samples, audio.rate, pitch);
        head << QStringLiteral("pitch %1").arg(QString::number(pitch, 'f', 1));
    }
    if (printKeys) {
        for (const lumbrel::KeyMark& m : timeline.marks)
            Print(stdout, QStringLiteral("%1 down\n%2 up").arg(m.downMs, 0, 'f', 1).arg(m.upMs, 0, 'f', 1));
        return 0;
    }
    const lumbrel::Decoding decoding = lumbrel::TimelineDecoder::Decode(timeline);
    Print(stdout, decoding.text);
    if (fist && !decoding.marks.empty()) {
        const lumbrel::FistReport report =
            lumbrel::FistReport::Measure(timeline, decoding, hasExpect ? expect : QString());
        for (const QString& line : head + report.Lines())
            Print(stdout, line);
    }
    return 0;
}
