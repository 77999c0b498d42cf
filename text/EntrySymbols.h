#pragma once
// Random entries of a word or QSO list, sent one character per buffer: each entry
// chosen at random opens with a word space; a QSO list sends one entry and ends.
#include <QByteArray>
#include <QList>

#include "text/SymbolSource.h"

namespace lumbrel {

class EntrySymbols final : public SymbolSource {
public:
    explicit EntrySymbols(SourceHost& host) : host_(host) {}

    // The loaded list; oneEntry: a sample QSO, which ends after its one entry.
    void Begin(QList<QByteArray> entries, bool oneEntry);
    void Clear() { entries_.clear(); }

    const QList<QByteArray>& Entries() const { return entries_; }
    bool OneEntry() const { return oneEntry_; }

    SourceSymbol Next() override;

private:
    // Most characters passed over (unknown, or markers) for one symbol; past it a word
    // space is sent, so that no list stalls the window.
    static constexpr int kSkipBudget = 1 << 16;

    SourceSymbol Emit(int position);

    SourceHost& host_;
    QList<QByteArray> entries_;
    bool oneEntry_ = false;
    int currentEntry_ = 0;
    int entryPosition_ = 0;     // bytes of the UTF-8 entry taken
    bool entryChosen_ = false;  // false: no entry started yet
    bool firstCall_ = false;
    ProsignRun prosign_;
};

}  // namespace lumbrel
