#pragma once
// Shared pieces of the window tests: prompts that answer without windows, a store
// that records the order of its writes, and a main window on virtual devices.
#include <QCoreApplication>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "audio/Clock.h"
#include "audio/VirtualAudioDevice.h"
#include "settings/SettingsStore.h"
#include "ui/Main.h"
#include "ui/Prompts.h"

namespace lumbrel::test {

// Handles posted events (queued calls, messages) a few rounds.
void ProcessEvents(int rounds = 5);

class FakePrompts final : public Prompts {
public:
    struct Shown {
        QString text;
        QString caption;
        MessageKind kind = MessageKind::Information;
    };
    void Message(QWidget*, const QString& text, const QString& caption, MessageKind kind) override;
    bool AskYesNo(QWidget*, const QString& text, const QString&) override {
        questions << text;
        return yesAnswer;
    }
    QStringList questions;  // every question asked, in order
    bool yesAnswer = true;
    void Error(QWidget*, const QString& text) override { errors.push_back(text); }
    std::optional<QFont> ChooseFont(QWidget*, const QFont& current, int maxPointSize) override;
    std::optional<FontChoice> ChooseFontAndColour(QWidget* parent, const FontChoice& current,
                                                  int max) override {
        std::optional<FontChoice> chosen = Prompts::ChooseFontAndColour(parent, current, max);
        if (chosen && colourAnswer)
            chosen->colour = *colourAnswer;
        return chosen;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return saveFileName;
    }
    AudioFileChoice ChooseAudioFile(QWidget*, const QString& defaultName, const QStringList& filters,
                                    int selected) override {
        audioDefaultName = defaultName;
        audioFilters = filters;
        audioSelected = selected;
        return audioChoice;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return openFileName; }
    QString openFileName;
    AudioFileChoice audioChoice;
    QString audioDefaultName;
    QStringList audioFilters;
    int audioSelected = -1;

    std::vector<Shown> messages;
    QStringList errors;
    int depth = 0;                        // message boxes open now
    int maxDepth = 0;                     // most message boxes open at once
    std::function<void()> duringMessage;  // runs while a box is "open"
    std::optional<QFont> fontAnswer;
    std::optional<QColor> colourAnswer;
    QFont fontOffered;
    int maxFontOffered = 0;
    QString saveFileName;
};

// A backend in memory that also lists every write, "Section/Key", in order.
class RecordingBackend final : public SettingsBackend {
public:
    std::optional<StoredValue> Value(const QString& section, const QString& key) const override {
        return memory_.Value(section, key);
    }
    void SetValue(const QString& section, const QString& key, const StoredValue& value) override {
        writes.push_back(section + QLatin1Char('/') + key);
        memory_.SetValue(section, key, value);
    }
    void RemoveSection(const QString& section) override { memory_.RemoveSection(section); }

    QStringList writes;

private:
    MemorySettingsBackend memory_;
};

// A store in memory holding these values.
inline SettingsStore StoreWith(std::initializer_list<std::pair<const keys::IntKey*, int>> values) {
    SettingsStore store = SettingsStore::InMemory();
    for (const auto& [key, value] : values)
        store.Write(*key, value);
    return store;
}

// Stores the window's placement as it is saved at closing.
inline void Place(SettingsStore& store, QRect r, bool maximized) {
    store.Write(keys::Left, r.x());
    store.Write(keys::Top, r.y());
    store.Write(keys::Right, r.x() + r.width());
    store.Write(keys::Bottom, r.y() + r.height());
    store.Write(keys::Maximized, maximized);
}

// A main window on a store in memory, a virtual clock and a virtual audio device.
struct WindowRig {
    explicit WindowRig(SettingsStore s = SettingsStore::InMemory(), bool trayAvailable = false,
                       RigKeying* rig = nullptr);
    ~WindowRig();

    // Runs `ms` of virtual time in steps, handling what the steps post.
    void Run(int ms, int stepMs = 50);

    VirtualClock clock{1000, QTime(12, 0)};
    VirtualAudioDevice audio{clock};
    FakePrompts prompts;
    SettingsStore store;
    bool tray = false;
    std::unique_ptr<MainWindow> window;
};

}  // namespace lumbrel::test
