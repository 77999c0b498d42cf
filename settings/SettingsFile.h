#pragma once
// The settings file used where there is no registry: plain text, readable and
// editable by hand, that tells numbers from texts.
//
//   # comment
//   [Setup]
//   Pitch=750
//   Font Name="Arial"
//   Common Word File="Word Files\\1000 Common Words.txt"
//
// A bare decimal value is a 32-bit number; a value in double quotes is a text, with
// \\ \" \n \r \t and \xNN escapes (an unknown escape keeps its backslash). A bare value
// that is not a number is read as a text. Section and key names are matched without
// regard to case, as the registry does: a key the program knows is kept under its own
// spelling, any other under the first spelling the file uses. A key the program reads
// as a number that holds none ("Pitch=8OO") takes its default, as a number, and counts
// as a line that makes no sense. Lines that make no sense are skipped, so a
// damaged file still gives every value that can be read and defaults for the rest;
// such a file is first copied aside ("Lumbrel.conf.damaged"), because saving writes
// only the values that were read. A file that cannot be read is left as it is.
// Writing goes through QSettings, which replaces the file atomically: a crash while
// saving leaves the old file or the new one, never a mix.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace lumbrel {

class SettingsBackend;

// Keys are "Section/Name"; values are int (numbers) or QString (texts).
using SettingsValueMap = QMap<QString, QVariant>;

// unreadLines, when given, receives the number of lines that were skipped because
// they make no sense (blank lines and comments do not count); notNumbers, when given,
// the lines among them that gave a number key something else, as "Key=value".
SettingsValueMap ParseSettingsText(const QByteArray& text, int* unreadLines = nullptr,
                                   QStringList* notNumbers = nullptr);
QByteArray FormatSettingsText(const SettingsValueMap& values);

// The QSettings-backed store on the given file.
std::unique_ptr<SettingsBackend> MakeFileSettingsBackend(const QString& path);
// The user's own store: the native registry on Windows, the text file elsewhere.
std::unique_ptr<SettingsBackend> MakeUserSettingsBackend();
// Where the user's settings file lives (empty on Windows, where the registry is used).
QString UserSettingsPath();

}  // namespace lumbrel
