#pragma once
// Writes the main signal to a RIFF/WAVE file: 44100 Hz, 2 channels, 16 bits, with an
// 18-byte format chunk so the data starts at offset 46. The header is rewritten after
// every append, so the file is a complete, playable WAV at every moment. (A device or a
// pipe gets the header once, with both sizes 0, then the samples.) A file of its name
// stays until the first audio or until Commit(): the new file is written beside it.
//
//   0 "RIFF" | 4 data+38 | 8 "WAVE" | 12 "fmt " | 16 18 | 20 fmt(16) + cbSize 0 (2)
//   38 "data" | 42 data size | 46 samples...
#include <QString>

#include <array>
#include <cstdint>

#include "recording/ReplacingFile.h"

namespace lumbrel {

class WavFile {
public:
    static constexpr int kHeaderBytes = 46;
    // The largest data size whose RIFF size (data + 38) still fits 32 bits.
    static constexpr std::uint32_t kMaxDataBytes = 0xFFFFFFFFu - 38u;

    using HeaderBytes = std::array<std::uint8_t, kHeaderBytes>;
    // The 46-byte header with the given RIFF chunk size and data size.
    static HeaderBytes MakeHeader(std::uint32_t riffSize, std::uint32_t dataSize);

    // Creates the new file and writes the header with both sizes 0. A file that cannot
    // be created leaves the writer closed; appends then do nothing.
    explicit WavFile(const QString& path, ReplaceWhen when = ReplaceWhen::FirstAudio);
    // Writes the header once more and closes the file; one never put in place is removed.
    ~WavFile();

    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Appends sample bytes at the end and rewrites the header. Returns false when the
    // file is not open, a write failed, the file has been deleted (its folder too,
    // perhaps) since it was created, or the data would pass the 32-bit size limit (then
    // nothing is appended and the file stays valid).
    bool Append(const void* data, std::uint32_t bytes);

    // Puts the file in place now (a render that succeeded). False, with Error(), when
    // it could not be.
    bool Commit();
    // Closes and removes the file this writer created, leaving any file it was to replace.
    void Discard() { file_.Discard(); }

    bool IsOpen() const { return file_.isOpen(); }
    QString Path() const { return file_.Target(); }
    // Empty while all is well; otherwise the reason the file could not be created or written.
    QString Error() const { return error_; }
    std::uint32_t DataBytes() const { return dataBytes_; }
    const HeaderBytes& Header() const { return header_; }

private:
    bool Removed() const;
    void UpdateHeader();
    bool RewriteHeader();

    ReplacingFile file_;
    ReplaceWhen when_;
    QString error_;
    std::uint32_t dataBytes_ = 0;
    HeaderBytes header_{};
};

}  // namespace lumbrel
