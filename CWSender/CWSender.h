#pragma once
// TCWSender: a self-contained Morse sender on an audio stream of its own. Handed a text,
// it plays it one character per buffer and keeps the stream busy with pauses once the
// text is played out, until it is closed. The main window's interfering stations are
// two of these.
//
// Buffers: four data areas of 441000 frames (10 s, 1764000 bytes), allocated by Open
// and freed by Close. A header's `user` value marks its state: 0 free, 1 queued,
// 3 queued and carrying the pause that ends a text. Once started, two buffers are kept
// queued: each completed buffer is replaced by the next character of the text, or by a
// pause (4 units) when there is none.
//
// Completion handling runs on the owner's (UI) thread, one completion at a time:
//   window mode (UseCallbacks false): the device posts kWaveOutDoneMessage (957) to the
//       owner's MessageTarget with wParam = the device's Handle(), lParam = the header;
//   callback mode (UseCallbacks true): the device's callback, on the device's thread,
//       posts that same message itself and touches nothing else.
// The owner's loop hands every message to HandleMessage, which takes only the
// completions of this sender's own device (matched by wParam) and returns false for
// everything else; several senders and the trainer can therefore share one queue, as
// long as 957 messages are offered to the senders before the trainer. Completions that
// arrive for buffers already taken back by Stop or Close are dropped.
//
// Events are raised in the context of the call that causes them: MorseSent from
// HandleMessage, OnStart from SetCodeString, OnStop from Stop and Close. A handler may
// call the sender again (SetCodeString, Stop, Close, ...), but must not destroy it.
//
// Failures are shown through the injected message box and processing goes on; nothing
// throws. UI thread only, except the device's callback route described above.

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "CWSender/CWMorseCode.h"
#include "audio/AudioDevice.h"
#include "audio/OutputGain.h"

namespace lumbrel {

class MessageTarget;
class RandomNumber;

// Stored only: the stream always runs at 44100 frames per second.
enum class WSampleRate { sr8000, sr11025, sr22050, sr44100 };

// Signal strength; AmplitudeLevel per level: 0, 117, 234, 468, 937, 1875, 3750, 7500,
// 10000, 20000.
enum class SigStrength { S0, S1, S2, S3, S4, S5, S6, S7, S8, S9 };

class TCWSender {
public:
    static constexpr int kBufferCount = 4;
    static constexpr std::uint32_t kBufferFrames = 441000;
    static constexpr std::uint32_t kBufferBytes = kBufferFrames * 4;  // 1764000
    static constexpr int kDefaultAmplitudeLevel = 16000;              // until Amplitude is first written

    // Header `user` values.
    static constexpr std::intptr_t kBufferFree = 0;
    static constexpr std::intptr_t kBufferQueued = 1;
    static constexpr std::intptr_t kBufferEndOfText = 3;

    // Notify event: the sender that raised it.
    using NotifyEvent = std::function<void(TCWSender& sender)>;

    enum class MessageIcon { None, Error };
    // A modal message box with an OK button, shown without an owner window. Must not run
    // the sender's operations re-entrantly.
    using MessageBox = std::function<void(const QString& text, const QString& caption, MessageIcon icon)>;
    // Returns a data area of `bytes` bytes, or null when memory is short.
    using BufferAllocator = std::function<std::unique_ptr<std::int16_t[]>(std::size_t bytes)>;

    struct Dependencies {
        AudioDevice& device;                  // this sender's own stream; must outlive the sender
        MessageTarget& window;                // where completions are posted; the owner's queue
        RandomNumber& random;                 // RandomLong draws of the noise bed
        MessageBox messageBox = {};           // none: failures are not shown
        BufferAllocator allocateBuffer = {};  // none: plain non-throwing allocation
    };

    explicit TCWSender(Dependencies deps);
    // Closes a connected stream (without raising OnStop).
    ~TCWSender();

    TCWSender(const TCWSender&) = delete;
    TCWSender& operator=(const TCWSender&) = delete;

    // --- Properties ------------------------------------------------------------------
    WSampleRate SampleRate() const { return sampleRate_; }
    void SetSampleRate(WSampleRate rate) { sampleRate_ = rate; }

    // Read when the stream is opened.
    bool UseCallbacks() const { return useCallbacks_; }
    void SetUseCallbacks(bool on) { useCallbacks_ = on; }

    const QString& TextToSend() const { return textToSend_; }
    void SetTextToSend(const QString& text) { SetCodeString(text); }

    int Pitch() const { return pitch_; }
    // Applies from the next rendered character.
    void SetPitch(int hz) { pitch_ = hz; }
    // The trainer's volume, on each buffer before it goes to the device.
    OutputGain& Gain() { return gain_; }

    // Stored as written; renderings use it limited to 3..705 WPM.
    int Speed() const { return speed_; }
    void SetSpeed(int wpm) { speed_ = wpm; }

    bool Connected() const { return connected_; }
    void SetConnected(bool connected);

    SigStrength Amplitude() const { return amplitude_; }
    void SetAmplitude(SigStrength strength) { SetSigStrength(strength); }

    int Noise() const { return noise_; }
    void SetNoise(int level) { SetNoiseLevel(level); }

    int QRMToneAmplitude() const { return qrmToneAmplitude_; }
    void SetQRMToneAmplitude(int level) { qrmToneAmplitude_ = level; }

    int QRMTonePitch() const { return qrmTonePitch_; }
    void SetQRMTonePitch(int hz) { qrmTonePitch_ = hz; }

    bool Buzz() const { return buzz_; }
    void SetBuzz(bool on) { buzz_ = on; }

    bool Staccato() const { return staccato_; }
    void SetStaccato(bool on) { staccato_ = on; }

    bool Chirp() const { return chirp_; }
    void SetChirp(bool on) { chirp_ = on; }

    // --- Events (empty: not assigned) -------------------------------------------------
    NotifyEvent OnStop;
    NotifyEvent OnStart;
    NotifyEvent MorseSent;

    // --- Further state ----------------------------------------------------------------
    // 1-based index of the last character taken from TextToSend (0: none yet).
    int SendPosition() const { return sendPosition_; }
    int AmplitudeLevel() const { return amplitudeLevel_; }
    const AudioBufferHeader& Buffer(int index) const;
    bool HasDataArea(int index) const;
    // Headers with a non-zero `user` value.
    int BuffersInUse() const;

    // --- Operations -------------------------------------------------------------------
    // Raises OnStart. Closed: opens the stream, takes the text from its first character
    // and queues two characters. Open: takes the text (a single space when empty) from
    // its first character with the next buffer rendered; queues nothing.
    void SetCodeString(const QString& text);
    // As SetCodeString when TextToSend is empty; otherwise replaces the text and goes on
    // at the same index.
    void ResetCodeString(const QString& text);
    // Stores Noise limited to 0..9.
    void SetNoiseLevel(int level);
    // Sets AmplitudeLevel from the table (S0 also silences what is queued) and stores
    // Amplitude. Values outside S0..S9 are limited to that range.
    void SetSigStrength(SigStrength strength);
    // Opens the device, clears the headers, allocates the data areas, sets Connected.
    // Queues nothing. Does nothing while connected.
    void Open();
    // When connected: clears Connected, resets and closes the device, frees the data
    // areas, then raises OnStop. TextToSend is kept.
    void Close();
    // When TextToSend is not empty: empties it, resets the device and frees the buffers
    // it returns (no rendering, no MorseSent), raises OnStop, then queues two characters
    // (pauses, unless OnStop handed over a new text).
    void Stop();
    // Renders the next character into a free buffer and queues it.
    void SendCharacter();
    // The first header with a data area and `user` 0, now marked 1; null when none.
    AudioBufferHeader* FindEmptyBuffer();
    // Zeroes the data of every header in use, over its byte length, so that what is
    // queued plays silent. A device that copies a buffer while it plays may already have
    // taken part of it; only the rest is silenced.
    void SilenceOutput();
    // Completion handling of a finished buffer: `message` must be kWaveOutDoneMessage.
    void DoCallback(int message, AudioBufferHeader* header);

    // Owner's message loop: the completions of this sender's device (kWaveOutDoneMessage
    // with wParam = the device's Handle()) go to DoCallback and return true; any other
    // message returns false untouched.
    bool HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam);

    // The settings a rendering reads now.
    CWRenderSettings RenderSettings() const;

private:
    OutputGain gain_;
    int IndexOf(const AudioBufferHeader* header) const;
    void ShowMessage(const QString& text, const QString& caption, MessageIcon icon = MessageIcon::None);
    void CloseStream(bool raiseOnStop);
    const CWCharacter& NextRecord(AudioBufferHeader& header);

    AudioDevice& device_;
    MessageTarget& window_;
    RandomNumber& random_;
    MessageBox messageBox_;
    BufferAllocator allocateBuffer_;

    WSampleRate sampleRate_ = WSampleRate::sr44100;
    bool useCallbacks_ = false;
    QString textToSend_;
    int pitch_ = 550;
    int speed_ = 15;
    bool connected_ = false;
    SigStrength amplitude_ = SigStrength::S0;
    int noise_ = 0;
    int qrmToneAmplitude_ = 0;
    int qrmTonePitch_ = 575;
    bool buzz_ = false;
    bool staccato_ = false;
    bool chirp_ = false;

    int sendPosition_ = 0;
    int amplitudeLevel_ = kDefaultAmplitudeLevel;

    std::array<AudioBufferHeader, kBufferCount> headers_{};
    std::array<std::unique_ptr<std::int16_t[]>, kBufferCount> data_{};
    // Written to the device and its completion not handled yet; completions of headers
    // that are not awaiting one (taken back by Stop or Close) are dropped.
    std::array<bool, kBufferCount> awaiting_{};
    // Counts openings, closings and stops, so that completion handling notices when an
    // event handler has restarted or closed the stream under it.
    std::uint64_t openings_ = 0;
    std::uint64_t restarts_ = 0;
};

}  // namespace lumbrel
