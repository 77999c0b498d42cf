#pragma once
// A file that is to replace another only once it holds what it should: it is written
// as a new file beside the one it replaces (the old file stays as it was meanwhile) and
// put in its place by one rename. A new file never put in place is removed when this
// goes. A device or a pipe cannot be replaced and must not be (a rename would put a
// plain file in its place): it is written in place, and "replacing" it does nothing.
#include <QFile>
#include <QString>

namespace lumbrel {

// When a recording's new file takes the place of the old one: at its first audio (a
// recording in the window), or only when told (a render that may still fail).
enum class ReplaceWhen { FirstAudio, Commit };

class ReplacingFile final : public QFile {
public:
    explicit ReplacingFile(const QString& target);
    ~ReplacingFile() override;

    // Creates the new file (or opens the device or pipe) for writing. With nothing to
    // replace and `atOnce`, it is created in its place.
    bool OpenNew(bool atOnce = false);
    // Closes and removes the new file, also one created in its place; a device or a
    // pipe is left alone.
    void Discard();
    // Puts the new file in the target's place; true when it is there (also when it was
    // already). The file may be open or closed.
    bool ReplaceTarget();

    const QString& Target() const { return target_; }
    bool Replaced() const { return replaced_; }

private:
    QString target_;
    bool inPlace_ = false;  // a device or a pipe
    bool replaced_ = false;
};

}  // namespace lumbrel
