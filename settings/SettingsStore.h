#pragma once
// The per-user settings store: sections of named values, each value a 32-bit
// number or a text. A SettingsStore is a cheap handle; every holder reads and writes
// straight through to the shared backend, so nothing is cached per holder.
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

#include "settings/SettingsKeys.h"

namespace lumbrel {

using StoredValue = std::variant<qint32, QString>;

// Where the values live. UI thread only.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<StoredValue> Value(const QString& section, const QString& key) const = 0;
    virtual void SetValue(const QString& section, const QString& key, const StoredValue& value) = 0;
    virtual void RemoveSection(const QString& section) = 0;
    // Makes what was written durable; a no-op where writes are immediate.
    virtual void Sync() {}
    // Empty when the store works; otherwise why what was written could not be saved.
    virtual QString Problem() const { return {}; }
    // Empty when the store was read whole; otherwise what the learner should know
    // about its opening (a file that cannot be read, damaged lines and where the file
    // as it was has been kept). Told once, at start.
    virtual QString OpeningNote() const { return {}; }
};

// Values in memory only: for tests and for runs that must leave no trace.
class MemorySettingsBackend final : public SettingsBackend {
public:
    std::optional<StoredValue> Value(const QString& section, const QString& key) const override;
    void SetValue(const QString& section, const QString& key, const StoredValue& value) override;
    void RemoveSection(const QString& section) override;

private:
    std::map<std::pair<QString, QString>, StoredValue> values_;
};

class SettingsStore {
public:
    explicit SettingsStore(std::shared_ptr<SettingsBackend> backend);

    // A store on fresh memory, sharing nothing.
    static SettingsStore InMemory();
    // The user's store: the registry key "Software\Zelph Software\Lumbrel" on Windows,
    // elsewhere "Zelph Software/Lumbrel.conf" in the user's configuration folder.
    static SettingsStore UserStore();
    // A store on the given file, in the text format of SettingsFile.h.
    static SettingsStore File(const QString& path);

    // The six operations. Reading never fails: missing values give the default.
    // A number stored as text reads as the number it holds, else as the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Keeps the value a text when it exists as a text; otherwise stores a number.
    void WriteInteger(const QString& section, const QString& key, int value);
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Yes/no values of "FormState": the texts "0" and "1"; any non-zero number is yes.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    void EraseSection(const QString& section);

    // The same, addressed by the key table.
    int Read(const keys::IntKey& key) const;
    void Write(const keys::IntKey& key, int value);
    QString Read(const keys::TextKey& key) const;
    void Write(const keys::TextKey& key, const QString& value);
    bool Read(const keys::YesNoKey& key) const;
    void Write(const keys::YesNoKey& key, bool value);

    // Whether a value exists, and of which kind; for tests and diagnostics.
    std::optional<StoredValue> Raw(const QString& section, const QString& key) const;

    void Sync();
    QString Problem() const;
    QString OpeningNote() const;

    static QString MorseLetterSection(int slot);

private:
    std::shared_ptr<SettingsBackend> backend_;
};

// Parses a decimal 32-bit integer, optional sign, surrounding blanks allowed.
std::optional<qint32> ParseStoredInteger(const QString& text);

}  // namespace lumbrel
