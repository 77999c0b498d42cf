#pragma once
// Shared by the fuzz targets: a broken property aborts like a crash, a data folder that
// lives for the whole run, and a trainer on virtual time with every character in use
// whose sessions are run for a bounded number of buffers and then stopped.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>

#include "session/VirtualSession.h"
#include "settings/SettingsStore.h"

namespace lumbrel::fuzz {

// Prints what does not hold and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* condition, const char* file, int line);

#define FUZZ_CHECK(condition)                                      \
    do {                                                           \
        if (!(condition))                                          \
            ::lumbrel::fuzz::Fail(#condition, __FILE__, __LINE__); \
    } while (false)

// Leaves a function out of the coverage that guides the fuzzer: for loops that compare
// every value or byte of a check, which tell it nothing and cost time.
#if defined(__clang__)
#define FUZZ_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define FUZZ_NO_COVERAGE
#endif

// A folder of the machine's temporary space, made at the first call and removed when
// the process ends. Every target writes its input files below it.
const QString& DataFolder();

// Writes bytes to relative (below DataFolder(), folders made as needed); its path.
QString WriteDataFile(const QString& relative, QByteArrayView bytes);

// A small number taken from the input's bytes, the same for the same input: it varies
// the settings of a session without giving up any byte of the file to them.
std::uint32_t InputHash(QByteArrayView bytes);

// A store in memory with every character of the list taking part, as the word, QSO and
// text-file commands need, and the display showing each character as it is sent.
SettingsStore EveryCharacterStore();

// Settings that change what the engine renders, chosen by the bits of h: speed,
// effective speed, speed and pitch dither, chirp, weighting, straight key, noise, QSB.
void VarySignal(SettingsStore& store, std::uint32_t h);

// A trainer on virtual time, created and shown, with DataFolder() as its program folder.
class Session {
public:
    Session(SettingsStore store, std::uint32_t seed);

    Trainer& trainer() { return session_->trainer(); }
    VirtualSession& virtualSession() { return *session_; }
    bool Idle() const;

    // The trainer has shown no message box; otherwise prints them and aborts.
    void CheckNoMessages() const;

    // Buffers the engine has written to the device since the session was created.
    int BuffersWritten() const;

    // Lets the session run until it ends by itself, maxBuffers more buffers have been
    // written or limitMs of virtual time have passed; a session still running then is
    // stopped. Every session must come to rest after a stop, with nothing left queued
    // on the device: a session that does not is a finding.
    void RunBounded(int maxBuffers, std::int64_t limitMs);

private:
    std::unique_ptr<VirtualSession> session_;
};

}  // namespace lumbrel::fuzz
