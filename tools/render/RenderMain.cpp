// lumbrel-render: renders text as Morse code to a WAV file, as fast as the machine allows.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "morse/MorseCode.h"
#include "engine/CharacterSet.h"
#include "settings/SettingsStore.h"
#include "text/PlainFile.h"
#include "text/ProsignRun.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/CommandLine.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/RenderSession.h"
#include "tools/render/SpokenItems.h"

using namespace lumbrel;
using lumbrel::render::AllCharacters;
using lumbrel::render::Fail;
using lumbrel::render::Print;

namespace {

constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024;

// The whole of an open file or pipe, or nothing when it holds more than limit bytes (a
// pipe has no size to look at first) or cannot be read.
std::optional<QByteArray> ReadAtMost(QFile& file, qint64 limit, QString& error) {
    QByteArray data;
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n == 0)
            return data;
        if (n < 0) {
            error = file.errorString();
            return std::nullopt;
        }
        if (data.size() + n > limit) {
            error = QStringLiteral("it is larger than %1 MiB").arg(limit >> 20);
            return std::nullopt;
        }
        data.append(chunk, static_cast<qsizetype>(n));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (render::WantsSpokenItems(QCoreApplication::arguments().mid(1)))
        return render::RenderSpokenItems(QCoreApplication::arguments().mid(1));
    const auto parsed = render::ParseRenderOptions(QCoreApplication::arguments().mid(1));
    if (!parsed.options) {
        Print(stderr, QStringLiteral("lumbrel-render: %1\nTry 'lumbrel-render --help'.\n").arg(parsed.error));
        return 2;
    }
    const render::RenderOptions& options = *parsed.options;
    if (options.help) {
        Print(stdout, render::RenderUsage() + render::SpokenUsage());
        return 0;
    }
    if (options.version) {
        Print(stdout, QStringLiteral("lumbrel-render %1\n").arg(QStringLiteral(LUMBREL_VERSION)));
        return 0;
    }

    if (options.Session())
        return render::RenderTrainerSession(options);
    if (const QString note = render::StretchCapNote(options); !note.isEmpty())
        Print(stderr, QStringLiteral("lumbrel-render: %1\n").arg(note));

    QByteArray text;
    if (!options.textFile.isEmpty()) {
        if (options.textFile == QLatin1String("-")) {
            // "-f -" reads standard input, at most as much as a file may hold.
            QFile file;
            if (!file.open(fileno(stdin), QIODevice::ReadOnly))
                return Fail(QStringLiteral("cannot read standard input: %1").arg(file.errorString()));
            QString error;
            const std::optional<QByteArray> read = ReadAtMost(file, kMaxTextBytes, error);
            if (!read)
                return Fail(QStringLiteral("cannot read standard input: %1").arg(error));
            text = *read;
        } else {
            PlainFileBytes file = ReadPlainFile(options.textFile, kMaxTextBytes);
            switch (file.status) {
                case PlainFileBytes::Status::Read:
                    break;
                case PlainFileBytes::Status::Missing:
                    return Fail(QStringLiteral("cannot read %1: no such file").arg(options.textFile));
                case PlainFileBytes::Status::NotPlain:
                    return Fail(QStringLiteral("cannot read %1: not a plain file").arg(options.textFile));
                case PlainFileBytes::Status::TooLarge:
                    return Fail(QStringLiteral("%1 is larger than %2 MiB")
                                    .arg(options.textFile)
                                    .arg(kMaxTextBytes >> 20));
                case PlainFileBytes::Status::Unreadable:
                    return Fail(QStringLiteral("cannot read %1: %2").arg(options.textFile, file.error));
            }
            text = std::move(file.bytes);
        }
    } else {
        text = options.text.join(QLatin1Char(' ')).toUtf8();
    }

    // No user settings are read or written: user-defined characters are not used here.
    SettingsStore store = SettingsStore::InMemory();
    AllCharacters windows;
    CharacterSet characters(store, windows);
    characters.SetOrder(options.order);
    characters.RebuildCharacterList();
    const auto& list = characters.CharacterList();

    RandomNumber random(
        options.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch())));
    RendererState renderer(random);

    QString error;
    const std::unique_ptr<render::AudioOutput> out =
        render::CreateAudioOutput(options.output, options.mp3BitRate, error, options.toneHz);
    if (!out)
        return Fail(error);
    if (!render::WriteSilence(*out, options.PauseSeconds()))
        return Fail(QStringLiteral("cannot write %1: %2").arg(options.output, out->Error()));

    std::vector<std::vector<std::int16_t>> renderedSlots(list.size());  // by position, once rendered
    std::vector<int> joinedBytes(list.size());
    ProsignRun prosign;
    render::ProgressBar progress(QStringLiteral("lumbrel-render"));
    qsizetype done = 0;
    for (const char byte : text) {
        progress.Update(static_cast<double>(++done), static_cast<double>(text.size()));
        int position = characters.LookUpTextCharacter(static_cast<unsigned char>(byte));
        if (position != kProsignMarker &&
            (position == kUnmapped || position >= static_cast<int>(list.size())))
            position = kWordSpace;
        if (prosign.Take(position))
            continue;
        const bool joined = prosign.Emit().joined;

        // Without straight key, weighting, chirp or drift, none of which -f uses, a
        // character renders to the same values every time, so each is rendered once and
        // its slot kept. At full amplitude and without noise the slot is the rendered
        // values as they are: the renderer keeps them within the peak.
        std::vector<std::int16_t>& slot = renderedSlots[position];
        if (slot.empty()) {
            MorseCode code(renderer, *list[position], options.wpm, options.toneHz, options.effectivePermille);
            const std::size_t values =
                std::min(static_cast<std::size_t>(code.SlotBytes(false) / 2), code.Samples().size());
            slot.assign(code.Samples().begin(), code.Samples().begin() + static_cast<std::ptrdiff_t>(values));
            joinedBytes[position] = code.SlotBytes(true);
        }
        const int slotBytes = static_cast<int>(2 * slot.size());
        const int bytes = joined ? std::min(joinedBytes[position], slotBytes) : slotBytes;
        if (!out->Write(reinterpret_cast<const std::uint8_t*>(slot.data()), static_cast<std::size_t>(bytes)))
            return Fail(QStringLiteral("cannot write %1: %2").arg(options.output, out->Error()));
    }
    if (const QString problem = out->Finish(); !problem.isEmpty())
        return Fail(problem);
    if (const QString problem = out->Commit(); !problem.isEmpty())
        return Fail(problem);
    return 0;
}
