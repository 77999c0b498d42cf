#include "engine/CharacterSet.h"

namespace lumbrel {

void WriteFirstCharactersMask(SettingsStore& store, int count) {
    const int n = std::clamp(count, 0, 64);
    WriteEnableMask(store, n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1);
}

std::uint64_t ReadEnableMask(const SettingsStore& store) {
    const auto low = static_cast<std::uint32_t>(store.Read(keys::Session1));
    const auto high = static_cast<std::uint32_t>(store.Read(keys::Session2));
    return std::uint64_t{high} << 32 | low;
}

void WriteEnableMask(SettingsStore& store, std::uint64_t mask) {
    store.Write(keys::Session1, static_cast<std::int32_t>(static_cast<std::uint32_t>(mask)));
    store.Write(keys::Session2, static_cast<std::int32_t>(static_cast<std::uint32_t>(mask >> 32)));
}

CharacterSet::CharacterSet(SettingsStore store, CharacterWindows& windows)
    : store_(std::move(store)),
      windows_(windows) {}

void CharacterSet::RebuildCharacterList() {
    list_.clear();
    active_.clear();  // it refers to the list; the caller rebuilds it next
    userCharacters_.clear();

    for (const MorseCharacter& record : LearningOrderTable(order_))
        list_.push_back(&record);

    for (int slot = 1; slot <= keys::kMorseLetterSlots; ++slot) {
        const QString section = SettingsStore::MorseLetterSection(slot);
        const QString content = store_.ReadString(section, QString::fromLatin1(keys::kContent), {});
        if (content.isEmpty())
            continue;
        const QString display = store_.ReadString(section, QString::fromLatin1(keys::kDisplayText), {});
        auto record = std::make_unique<MorseCharacter>();
        record->code = content.left(MorseCharacter::kMaxLength).toLatin1();
        record->display = display.left(MorseCharacter::kMaxLength);
        list_.push_back(record.get());
        userCharacters_.push_back(std::move(record));
    }

    QStringList captions;
    for (std::size_t pos = 1; pos < list_.size(); ++pos)
        captions << list_[pos]->display.toUpper();
    windows_.SetCharacterCaptions(captions);

    const int maximum = static_cast<int>(list_.size()) - 1;
    windows_.SetCharacterCountMaximum(maximum);
    if (windows_.CharacterCount() > maximum)
        windows_.SetCharacterCount(maximum);

    UpdateLearningTools();
}

void CharacterSet::RebuildActiveSet() {
    const std::uint64_t mask = ReadEnableMask(store_);

    active_.clear();
    if (list_.empty())
        return;
    active_.push_back(list_[0]);
    const int n = std::min(windows_.CharacterCount(), static_cast<int>(list_.size()) - 1);
    for (int i = 0; i < n; ++i) {
        // Positions past 64 take the second word's bits again.
        if ((mask >> (i < 32 ? i : 32 + (i & 31))) & 1U)
            active_.push_back(list_[i + 1]);
    }
}

void CharacterSet::CharacterCountChanged() {
    WriteFirstCharactersMask(store_, windows_.CharacterCount());
    LearningModeRefresh();
}

void CharacterSet::LearningModeRefresh() {
    if (!shown_)
        return;
    windows_.ShowCharacterBoxes(windows_.CharacterCount());
    RebuildActiveSet();
    UpdateLearningTools();
}

void CharacterSet::UpdateLearningTools() {
    windows_.SetLearningToolsShown(windows_.CharacterCount() == windows_.CharacterCountMaximum());
}

int CharacterSet::LookUpTextCharacter(char32_t c) const {
    if (c < 128) {
        const int mapped = CharacterMap(order_)[c];
        if (mapped != kUnmapped)
            return mapped;
    }
    for (std::size_t pos = kOrderSize; pos < list_.size(); ++pos) {
        const QString& display = list_[pos]->display;
        if (display.isEmpty())
            continue;
        // The first character, also when it lies outside the 16-bit range.
        char32_t first = display.at(0).unicode();
        if (display.at(0).isHighSurrogate() && display.size() > 1 && display.at(1).isLowSurrogate())
            first = QChar::surrogateToUcs4(display.at(0), display.at(1));
        if (first == c)
            return static_cast<int>(pos);
    }
    return kUnmapped;
}

QStringList CharacterSet::MultiLetterDisplays(const SettingsStore& store) {
    QStringList displays;
    for (int slot = 1; slot <= keys::kMorseLetterSlots; ++slot) {
        const QString section = SettingsStore::MorseLetterSection(slot);
        if (store.ReadString(section, QString::fromLatin1(keys::kContent), {}).isEmpty())
            continue;
        const QString display = store.ReadString(section, QString::fromLatin1(keys::kDisplayText), {})
                                    .left(MorseCharacter::kMaxLength);
        if (display.size() > 1)
            displays << display;
    }
    return displays;
}

}  // namespace lumbrel
