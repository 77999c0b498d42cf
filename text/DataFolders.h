#pragma once
// Where the shipped word, QSO and text files are found, and how the relative file
// names kept in the settings ("Word Files\1000 Common Words.txt",
// "\QSO Files\QSO.txt") become paths on this machine.
#include <QString>
#include <QStringList>

namespace lumbrel {

inline constexpr const char* kWordFilesFolder = "Word Files";
inline constexpr const char* kQsoFilesFolder = "QSO Files";
inline constexpr const char* kTextFilesFolder = "Text Files";

// The folder that plays the part of "the program's folder" for the data files: the
// folder of the running program when "Word Files" or "QSO Files" is there; else the
// installed data folder beside it (../share/lumbrel). When neither holds the data, the
// program's own folder. (In the build tree, links beside each program lead to the
// source tree's data folders.)
QString DefaultProgramFolder();

// folder followed by a stored relative name. Backslashes count as separators and
// leading separators are dropped, so both stored forms work on every platform.
QString ResolveProgramPath(const QString& folder, const QString& stored);

// The plain files "*.txt" (any case) directly in folder, hidden ones left out, by name.
QStringList ListTextFiles(const QString& folder);

}  // namespace lumbrel
