#pragma once
// The symbol sources a session can play and the one that plays: random groups of the
// active set, an entry list (common words or a sample QSO) or a text file.
#include "engine/SessionTypes.h"
#include "text/EntrySymbols.h"
#include "text/RandomGroups.h"
#include "text/TextSymbols.h"

namespace lumbrel {

class SessionSources {
public:
    // active: the active set, read for each group character.
    SessionSources(SourceHost& host, GroupSymbols::ActiveSet active)
        : groupSymbols_(groups_, host, std::move(active)),
          entries_(host),
          text_(host) {}

    SessionSources(const SessionSources&) = delete;
    SessionSources& operator=(const SessionSources&) = delete;

    RandomGroupSource& Groups() { return groups_; }
    EntrySymbols& Entries() { return entries_; }
    const EntrySymbols& Entries() const { return entries_; }
    TextSymbols& Text() { return text_; }
    const TextSymbols& Text() const { return text_; }

    // The source of the session that begins next, runs or ran last.
    void Select(SourceKind kind) { kind_ = kind; }
    SourceKind Kind() const { return kind_; }
    SymbolSource& Current() {
        switch (kind_) {
            case SourceKind::RandomEntries:
                return entries_;
            case SourceKind::SequentialText:
                return text_;
            case SourceKind::RandomGroups:
                break;
        }
        return groupSymbols_;
    }

private:
    RandomGroupSource groups_;
    GroupSymbols groupSymbols_;
    EntrySymbols entries_;
    TextSymbols text_;
    SourceKind kind_ = SourceKind::RandomGroups;
};

}  // namespace lumbrel
