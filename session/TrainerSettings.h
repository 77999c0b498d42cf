#pragma once
// The trainer's stored options: the start-up restore of the session's options and of the copies a session reads, the save when the window closes,
// and the font of "Sent". Every value goes straight through the settings store.
#include <QString>

#include <functional>

#include "engine/SessionOptions.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

class TrainerSettings {
public:
    // Main-window copies of settings read at start or when the setup dialog closes.
    struct Copies {
        bool useMfj = false;
        int callback = 0;
        int port = 0;
        int speedDitherSize = 0;
        int straightKeyFist = 0;
        bool favourRecent = false;
        int wordFilter = 0x3FFFFFF;
        bool singleWordOnly = false;
        int maxWordLength = 20;
        QString commonWordFile;
        QString qsoFile;
    };

    // The text area's font: face and point size as stored ("Font Name", "FontSize");
    // the window shows it in the designed bold style.
    struct TextFont {
        QString face;
        int pointSize = 10;
    };

    explicit TrainerSettings(SettingsStore store) : store_(std::move(store)) {}

    SettingsStore& Store() { return store_; }
    const SettingsStore& Store() const { return store_; }

    // Sets each stored option to its stored value (or given's, when given), in the order
    // their reactions need; after an option that reacts as a user's click would,
    // react(option) runs.
    void RestoreOptions(SessionOptions& options, const std::function<void(Option)>& react,
                        const SessionOptions* given = nullptr) const;
    // Reads every copy.
    void RestoreCopies();
    // The copies the setup dialog writes, read again once it was confirmed.
    void ReloadSetupCopies();
    // The stored session length in minutes, 1 to 60.
    int StoredSessionMinutes() const;
    // Writes the stored options and the font size, then makes them durable.
    void Save(const SessionOptions& options);

    const Copies& SettingCopies() const { return copies_; }
    // "Single Words Only" toggled: the copy follows the menu item (saved on close).
    void SetSingleWordOnly(bool on) { copies_.singleWordOnly = on; }
    // A word or QSO file chosen from a drop-down becomes the current one, at once
    // in the store ("Common Word File" or "QSO File").
    void SetCurrentListFile(bool words, const QString& storedName);

    const TextFont& SentFont() const { return sentFont_; }
    // Every showing of the window reads the font again.
    void ReadSentFont();
    // "Select Font" confirmed: writes "FontSize", then "Font Name".
    void SetSentFont(const QString& face, int pointSize);

private:
    SettingsStore store_;
    Copies copies_;
    TextFont sentFont_{QStringLiteral("Arial"), 10};
};

}  // namespace lumbrel
