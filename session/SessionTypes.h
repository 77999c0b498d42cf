#pragma once

namespace lumbrel {

// Which text source feeds the session.
enum class SourceKind {
    RandomGroups,    // random Koch groups, ended by time
    RandomEntries,   // random words or one sample QSO
    SequentialText,  // a text file read in order
};

// The engine's run state.
enum SessionRunState : int {
    kRunning = 0,   // queue the next character on every buffer that comes home
    kStopping = 1,  // queue nothing; the next buffer home moves to kEnded
    kEnded = 2,     // queue nothing; the last buffer home ends the session
};

}  // namespace lumbrel
