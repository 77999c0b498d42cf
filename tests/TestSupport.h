#pragma once
// Helpers shared by the tests.
#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

#include "engine/CharacterSet.h"

namespace lumbrel::test {

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// What the learner is told when the sound output cannot be opened, for the device's reason.
inline QString NoSoundOutputText(const QString& reason) {
    return QStringLiteral(
               "No sound output: %1 Check that PipeWire or PulseAudio is running and that an output "
               "device is selected in the desktop's sound settings.")
        .arg(reason);
}

// Stores a character of the user's in its slot (1 to 24).
inline void DefineCharacter(SettingsStore& store, int slot, const QString& code, const QString& display) {
    store.WriteString(SettingsStore::MorseLetterSection(slot), QStringLiteral("Content"), code);
    store.WriteString(SettingsStore::MorseLetterSection(slot), QStringLiteral("Display"), display);
}

// Stands in for the main window's spinner, setup dialog and tool bar.
class FakeCharacterWindows final : public CharacterWindows {
public:
    int CharacterCount() const override { return count; }
    void SetCharacterCount(int c) override { count = c; }
    int CharacterCountMaximum() const override { return maximum; }
    void SetCharacterCountMaximum(int m) override { maximum = m; }
    void SetCharacterCaptions(const QStringList& c) override { captions = c; }
    void ShowCharacterBoxes(int c) override {
        shownBoxes = c;
        ++showBoxesCalls;
    }
    void SetLearningToolsShown(bool shown) override { tools = shown; }

    int count = 2;
    int maximum = 64;  // the spinner's designed range until the list is built
    QStringList captions;
    int shownBoxes = -1;
    int showBoxesCalls = 0;
    std::optional<bool> tools;  // unset until told
};

}  // namespace lumbrel::test
