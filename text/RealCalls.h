#pragma once
// Real calls for callsign practice: the calls heard in contests that Debian's
// hamradio-files installs (MASTER.SCP, one call a line, "#" lines are notes), and
// when it is not installed the sample of it shipped as "Word Files/Callsigns.txt".
#include <QString>

#include <string>
#include <vector>

namespace lumbrel {

inline constexpr const char* kMasterCallsPath = "/usr/share/hamradio-files/MASTER.SCP";
// The shipped sample, relative to the program folder.
inline constexpr const char* kCallSampleName = "Word Files\\Callsigns.txt";

// A call list larger than this is refused (MASTER.SCP holds about 0.5 MB).
inline constexpr qint64 kMaxCallListBytes = 4 * 1024 * 1024;

// The calls of a list: upper case, one a line, notes and anything that is not a call
// (only letters, digits and slashes, a digit among them, at most 16 characters) left
// out. Empty when the file cannot be read or is too large.
std::vector<std::string> ReadCallList(const QString& path);

// MASTER.SCP when it can be read, else the shipped sample below programFolder.
QString RealCallsPath(const QString& programFolder);

}  // namespace lumbrel
