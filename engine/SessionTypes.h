#pragma once

namespace lumbrel {

// Which text source feeds the session.
enum class SourceKind {
    RandomGroups,    // random Koch groups, ended by time
    RandomEntries,   // random words or one sample QSO
    SequentialText,  // a text file read in order
};

}  // namespace lumbrel
