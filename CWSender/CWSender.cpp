#include "CWSender/CWSender.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/Messages.h"
#include "morse/Random.h"

namespace lumbrel {

namespace {

constexpr std::array<int, 10> kSigStrengthLevel{0, 117, 234, 468, 937, 1875, 3750, 7500, 10000, 20000};

int StrengthIndex(SigStrength strength) {
    return std::clamp(static_cast<int>(strength), 0, static_cast<int>(kSigStrengthLevel.size()) - 1);
}

std::unique_ptr<std::int16_t[]> AllocateDataArea(std::size_t bytes) {
    return std::unique_ptr<std::int16_t[]>(new (std::nothrow) std::int16_t[bytes / 2]);
}

}  // namespace

TCWSender::TCWSender(Dependencies deps)
    : device_(deps.device),
      window_(deps.window),
      random_(deps.random),
      messageBox_(std::move(deps.messageBox)),
      allocateBuffer_(std::move(deps.allocateBuffer)) {}

TCWSender::~TCWSender() {
    if (connected_)
        CloseStream(false);
}

// --- Properties ----------------------------------------------------------------------

void TCWSender::SetConnected(bool connected) {
    if (connected == connected_)
        return;
    if (connected)
        Open();
    else
        Close();
}

const AudioBufferHeader& TCWSender::Buffer(int index) const {
    return headers_[static_cast<std::size_t>(std::clamp(index, 0, kBufferCount - 1))];
}

bool TCWSender::HasDataArea(int index) const {
    return index >= 0 && index < kBufferCount && data_[static_cast<std::size_t>(index)] != nullptr;
}

int TCWSender::BuffersInUse() const {
    return static_cast<int>(std::count_if(headers_.begin(), headers_.end(),
                                          [](const AudioBufferHeader& h) { return h.user != kBufferFree; }));
}

CWRenderSettings TCWSender::RenderSettings() const {
    CWRenderSettings settings;
    settings.speed = speed_;
    settings.pitch = pitch_;
    settings.amplitudeLevel = amplitudeLevel_;
    settings.noise = noise_;
    settings.qrmToneAmplitude = qrmToneAmplitude_;
    settings.qrmTonePitch = qrmTonePitch_;
    settings.buzz = buzz_;
    settings.staccato = staccato_;
    settings.chirp = chirp_;
    return settings;
}

// --- Operations ----------------------------------------------------------------------

void TCWSender::SetCodeString(const QString& text) {
    if (OnStart)
        OnStart(*this);
    if (!connected_) {
        Open();
        textToSend_ = text;
        sendPosition_ = 0;
        SendCharacter();
        SendCharacter();
    } else {
        textToSend_ = text.isEmpty() ? QStringLiteral(" ") : text;
        sendPosition_ = 0;
    }
}

void TCWSender::ResetCodeString(const QString& text) {
    if (textToSend_.isEmpty()) {
        SetCodeString(text);
        return;
    }
    textToSend_ = text;
}

void TCWSender::SetNoiseLevel(int level) {
    noise_ = std::clamp(level, 0, 9);
}

void TCWSender::SetSigStrength(SigStrength strength) {
    const int index = StrengthIndex(strength);
    amplitudeLevel_ = kSigStrengthLevel[static_cast<std::size_t>(index)];
    if (index == 0)
        SilenceOutput();
    amplitude_ = static_cast<SigStrength>(index);
}

void TCWSender::Open() {
    if (connected_)
        return;

    AudioNotification route;
    if (useCallbacks_) {
        // Runs on the device's thread: it only posts the completion to the owner's queue.
        MessageTarget* window = &window_;
        const std::intptr_t handle = device_.Handle();
        route = AudioNotification::ToCallback([window, handle](AudioBufferHeader* header) {
            window->PostMessage(kWaveOutDoneMessage, handle, reinterpret_cast<std::intptr_t>(header));
        });
    } else {
        route = AudioNotification::ToWindow(window_);
    }
    const AudioResult opened = device_.Open(kTrainerAudioFormat, std::move(route));
    if (!opened.Ok())
        ShowMessage(QString::fromStdString(opened.Text()), QStringLiteral("waveOutOpen"));

    for (int i = 0; i < kBufferCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (headers_[n].IsQueued()) {
            // Still held by a device that failed to close: keep its data and leave it
            // marked in use, so that nothing touches it while the device may read it.
            continue;
        }
        headers_[n] = AudioBufferHeader{};
        awaiting_[n] = false;
        data_[n] = allocateBuffer_ ? allocateBuffer_(kBufferBytes) : AllocateDataArea(kBufferBytes);
        if (data_[n] == nullptr)
            ShowMessage(QStringLiteral("Cannot Allocate Sound Buffer"), QStringLiteral("System Error"),
                        MessageIcon::Error);
        headers_[n].data = data_[n].get();
    }
    connected_ = true;
    ++openings_;
}

void TCWSender::Close() {
    if (connected_)
        CloseStream(true);
}

void TCWSender::CloseStream(bool raiseOnStop) {
    connected_ = false;
    ++openings_;
    (void)device_.Reset();
    (void)device_.Close();
    for (int i = 0; i < kBufferCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (headers_[n].IsQueued())
            continue;  // the device could not be closed and still holds it
        headers_[n] = AudioBufferHeader{};
        awaiting_[n] = false;
        data_[n].reset();
    }
    // Raised last, once the stream is released, so that a handler may reopen it.
    if (raiseOnStop && OnStop)
        OnStop(*this);
}

void TCWSender::Stop() {
    if (textToSend_.isEmpty())
        return;
    textToSend_.clear();
    ++restarts_;
    (void)device_.Reset();
    // The buffers the reset returned become free as they are; their completion
    // messages, still on their way, are dropped when they arrive.
    for (int i = 0; i < kBufferCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        AudioBufferHeader& header = headers_[n];
        if (!awaiting_[n] || header.IsQueued())
            continue;
        awaiting_[n] = false;
        if (!device_.UnprepareHeader(header).Ok())
            ShowMessage(QStringLiteral("waveOutUnprepareHeader Failed"), QStringLiteral("Information"));
        header.user = kBufferFree;
    }
    if (OnStop)
        OnStop(*this);
    SendCharacter();
    SendCharacter();
}

AudioBufferHeader* TCWSender::FindEmptyBuffer() {
    for (int i = 0; i < kBufferCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (data_[n] != nullptr && headers_[n].user == kBufferFree) {
            headers_[n].user = kBufferQueued;
            return &headers_[n];
        }
    }
    return nullptr;
}

void TCWSender::SilenceOutput() {
    for (AudioBufferHeader& header : headers_) {
        if (header.user != kBufferFree && header.data != nullptr)
            std::memset(header.data, 0, std::min(header.length, kBufferBytes));
    }
}

const CWCharacter& TCWSender::NextRecord(AudioBufferHeader& header) {
    if (textToSend_.isEmpty())
        return CWCharacterTable::Pause();
    ++sendPosition_;
    if (sendPosition_ > textToSend_.size()) {
        if (MorseSent) {
            header.user = kBufferEndOfText;
            textToSend_.clear();
        }
        return CWCharacterTable::Pause();
    }
    const qsizetype at = sendPosition_ - 1;
    const QChar c = textToSend_.at(at);
    // A character outside the basic plane is one character of the text, not two.
    if (c.isHighSurrogate() && at + 1 < textToSend_.size() && textToSend_.at(at + 1).isLowSurrogate())
        ++sendPosition_;
    return CWCharacterTable::ForCharacter(c);
}

void TCWSender::SendCharacter() {
    const CWRenderSettings settings = RenderSettings();
    if (!connected_)
        return;
    AudioBufferHeader* header = FindEmptyBuffer();
    if (header == nullptr)
        return;
    const auto index = static_cast<std::size_t>(IndexOf(header));

    const CWCharacter& record = NextRecord(*header);
    CWMorseCode code(record, settings, random_);
    header->length = code.Render(static_cast<std::int16_t*>(header->data), kBufferFrames);
    gain_.Apply(static_cast<std::int16_t*>(header->data), header->length / sizeof(std::int16_t));

    if (!device_.PrepareHeader(*header).Ok())
        ShowMessage(QStringLiteral("waveOutPrepareHeader Failed"), QStringLiteral("Information"));
    const AudioResult written = device_.Write(*header);
    if (written.Ok()) {
        awaiting_[index] = true;
    } else {
        // The buffer stays marked in use: lost to the stream until the next opening.
        ShowMessage(QString::fromStdString(written.Text()), QStringLiteral("waveOutWrite"));
    }
}

void TCWSender::DoCallback(int message, AudioBufferHeader* header) {
    if (!connected_ || message != kWaveOutDoneMessage)
        return;
    const int index = IndexOf(header);
    if (index < 0)
        return;
    const auto n = static_cast<std::size_t>(index);
    // A completion reported by Stop's or Close's reset for a buffer already taken back,
    // or one that arrives before the buffer has really finished: not ours to handle.
    if (!awaiting_[n] || header->IsQueued())
        return;
    awaiting_[n] = false;

    if (!device_.UnprepareHeader(*header).Ok())
        ShowMessage(QStringLiteral("waveOutUnprepareHeader Failed"), QStringLiteral("Information"));

    if (header->user == kBufferEndOfText && MorseSent) {
        const std::uint64_t openings = openings_;
        const std::uint64_t restarts = restarts_;
        MorseSent(*this);
        if (openings != openings_) {
            // The handler closed (and maybe reopened) the stream: this header belongs to
            // that opening's bookkeeping now.
            return;
        }
        if (restarts != restarts_) {
            // The handler stopped the sender, which queued two fresh buffers already.
            header->user = kBufferFree;
            return;
        }
    }
    header->user = kBufferFree;
    SendCharacter();
}

bool TCWSender::HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (message != kWaveOutDoneMessage || wParam != device_.Handle())
        return false;
    DoCallback(message, reinterpret_cast<AudioBufferHeader*>(lParam));
    return true;
}

// --- Helpers -------------------------------------------------------------------------

int TCWSender::IndexOf(const AudioBufferHeader* header) const {
    for (int i = 0; i < kBufferCount; ++i) {
        if (header == &headers_[static_cast<std::size_t>(i)])
            return i;
    }
    return -1;
}

void TCWSender::ShowMessage(const QString& text, const QString& caption, MessageIcon icon) {
    if (messageBox_)
        messageBox_(text, caption, icon);
}

}  // namespace lumbrel
