#include "settings/SettingsStore.h"

#include "settings/SettingsFile.h"

namespace lumbrel {

std::optional<StoredValue> MemorySettingsBackend::Value(const QString& section, const QString& key) const {
    auto it = values_.find({section, key});
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

void MemorySettingsBackend::SetValue(const QString& section, const QString& key, const StoredValue& value) {
    values_[{section, key}] = value;
}

void MemorySettingsBackend::RemoveSection(const QString& section) {
    std::erase_if(values_, [&](const auto& entry) { return entry.first.first == section; });
}

std::optional<qint32> ParseStoredInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 wide = trimmed.toLongLong(&ok, 10);
    if (!ok || wide < std::numeric_limits<qint32>::min() || wide > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(wide);
}

SettingsStore::SettingsStore(std::shared_ptr<SettingsBackend> backend) : backend_(std::move(backend)) {
    if (!backend_)
        backend_ = std::make_shared<MemorySettingsBackend>();
}

SettingsStore SettingsStore::InMemory() {
    return SettingsStore(std::make_shared<MemorySettingsBackend>());
}

SettingsStore SettingsStore::UserStore() {
    return SettingsStore(MakeUserSettingsBackend());
}

SettingsStore SettingsStore::File(const QString& path) {
    return SettingsStore(MakeFileSettingsBackend(path));
}

int SettingsStore::ReadInteger(const QString& section, const QString& key, int def) const {
    const auto value = backend_->Value(section, key);
    if (!value)
        return def;
    if (const auto* number = std::get_if<qint32>(&*value))
        return *number;
    return ParseStoredInteger(std::get<QString>(*value)).value_or(def);
}

void SettingsStore::WriteInteger(const QString& section, const QString& key, int value) {
    const auto existing = backend_->Value(section, key);
    if (existing && std::holds_alternative<QString>(*existing))
        backend_->SetValue(section, key, QString::number(value));
    else
        backend_->SetValue(section, key, static_cast<qint32>(value));
}

QString SettingsStore::ReadString(const QString& section, const QString& key, const QString& def) const {
    const auto value = backend_->Value(section, key);
    if (!value)
        return def;
    if (const auto* number = std::get_if<qint32>(&*value))
        return QString::number(*number);
    return std::get<QString>(*value);
}

void SettingsStore::WriteString(const QString& section, const QString& key, const QString& value) {
    backend_->SetValue(section, key, value);
}

bool SettingsStore::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void SettingsStore::WriteBool(const QString& section, const QString& key, bool value) {
    backend_->SetValue(section, key, QStringLiteral("%1").arg(value ? 1 : 0));
}

void SettingsStore::EraseSection(const QString& section) {
    backend_->RemoveSection(section);
}

int SettingsStore::Read(const keys::IntKey& key) const {
    return ReadInteger(QString::fromLatin1(key.section), QString::fromLatin1(key.name), key.def);
}

void SettingsStore::Write(const keys::IntKey& key, int value) {
    WriteInteger(QString::fromLatin1(key.section), QString::fromLatin1(key.name), value);
}

QString SettingsStore::Read(const keys::TextKey& key) const {
    return ReadString(QString::fromLatin1(key.section), QString::fromLatin1(key.name),
                      QString::fromLatin1(key.def));
}

void SettingsStore::Write(const keys::TextKey& key, const QString& value) {
    WriteString(QString::fromLatin1(key.section), QString::fromLatin1(key.name), value);
}

bool SettingsStore::Read(const keys::YesNoKey& key) const {
    return ReadBool(QString::fromLatin1(key.section), QString::fromLatin1(key.name), key.def);
}

void SettingsStore::Write(const keys::YesNoKey& key, bool value) {
    WriteBool(QString::fromLatin1(key.section), QString::fromLatin1(key.name), value);
}

std::optional<StoredValue> SettingsStore::Raw(const QString& section, const QString& key) const {
    return backend_->Value(section, key);
}

void SettingsStore::Sync() {
    backend_->Sync();
}

QString SettingsStore::Problem() const {
    return backend_->Problem();
}

QString SettingsStore::OpeningNote() const {
    return backend_->OpeningNote();
}

QString SettingsStore::MorseLetterSection(int slot) {
    return QString::fromLatin1(keys::kMorseLetterFormat).arg(slot);
}

}  // namespace lumbrel
