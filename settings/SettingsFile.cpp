#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSettings>

#include <algorithm>
#include <optional>
#include <type_traits>
#include <variant>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "settings/SettingsStore.h"

namespace lumbrel {
namespace {

constexpr char kOrganization[] = "Zelph Software";
constexpr char kApplication[] = "Lumbrel";

// The keys the program reads and writes, by their lower-case "Section/Key", and their
// sections by their lower-case name.
struct KnownKey {
    QString path;               // as the program spells it
    std::optional<int> number;  // the default of a key read as a number
};
struct KnownNames {
    QHash<QString, KnownKey> keys;
    QHash<QString, QString> sections;
};

const KnownNames& Known() {
    static const KnownNames known = [] {
        KnownNames k;
        auto add = [&k](const QString& section, const char* name, std::optional<int> number) {
            const QString path = section + QLatin1Char('/') + QString::fromLatin1(name);
            k.keys.insert(path.toLower(), {path, number});
            k.sections.insert(section.toLower(), section);
        };
        for (const keys::AnyKey& any : keys::kAllKeys) {
            std::visit(
                [&](const auto* key) {
                    using Key = std::remove_cvref_t<decltype(*key)>;
                    std::optional<int> number;
                    if constexpr (std::is_same_v<Key, keys::IntKey>)
                        number = key->def;
                    else if constexpr (std::is_same_v<Key, keys::YesNoKey>)
                        number = key->def ? 1 : 0;
                    add(QString::fromLatin1(key->section), key->name, number);
                },
                any);
        }
        for (int slot = 1; slot <= keys::kMorseLetterSlots; ++slot)
            for (const char* name : {keys::kContent, keys::kDisplayText})
                add(QString::fromLatin1(keys::kMorseLetterFormat).arg(slot), name, std::nullopt);
        return k;
    }();
    return known;
}

// The spelling a "Section/Key" path is kept under: the program's own for a key it
// knows; otherwise the first spelling seen in this file, with a known section spelled
// as the program spells it. *known is the key when the program knows it.
QString KeptPath(const QString& path, QHash<QString, QString>& seen, const KnownKey** known) {
    const QString lower = path.toLower();
    const auto found = Known().keys.constFind(lower);
    *known = found == Known().keys.cend() ? nullptr : &*found;
    if (*known)
        return (*known)->path;
    if (const auto earlier = seen.constFind(lower); earlier != seen.cend())
        return *earlier;
    QString kept = path;
    if (const qsizetype slash = path.indexOf(QLatin1Char('/')); slash >= 0)
        if (const auto section = Known().sections.constFind(lower.first(slash));
            section != Known().sections.cend())
            kept = *section + path.sliced(slash);
    seen.insert(lower, kept);
    return kept;
}

bool IsBareInteger(QByteArrayView text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at text[0] == '"'; stops at the closing quote or the end.
QString Unquote(QByteArrayView text) {
    QByteArray out;
    qsizetype i = 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"')
            break;
        if (c == '\\' && i + 1 < text.size()) {
            const char e = text[i + 1];
            switch (e) {
                case '\\':
                    out += '\\';
                    i += 2;
                    continue;
                case '"':
                    out += '"';
                    i += 2;
                    continue;
                case 'n':
                    out += '\n';
                    i += 2;
                    continue;
                case 'r':
                    out += '\r';
                    i += 2;
                    continue;
                case 't':
                    out += '\t';
                    i += 2;
                    continue;
                case 'x':
                    if (i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
                        out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
                        i += 4;
                        continue;
                    }
                    break;
                default:
                    break;
            }
        }
        out += c;
        ++i;
    }
    return QString::fromUtf8(out);
}

QByteArray Quote(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    out += QByteArray("\\x") +
                           QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
                else
                    out += c;
        }
    }
    out += '"';
    return out;
}

// A key or section name is written as it is unless it could be misread.
QByteArray FormatName(const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    const bool plain =
        !utf8.isEmpty() && !utf8.contains('=') && !utf8.contains('"') && !utf8.contains('[') &&
        !utf8.contains(']') && !utf8.startsWith('#') && !utf8.startsWith(';') && utf8.trimmed() == utf8 &&
        std::none_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return plain ? utf8 : Quote(name);
}

// Splits "key=value" where the key may be quoted; returns false when there is no '='.
bool SplitAssignment(QByteArrayView line, QString& key, QByteArrayView& value) {
    qsizetype eq = -1;
    if (line.startsWith('"')) {
        qsizetype i = 1;
        while (i < line.size() && line[i] != '"')
            i += (line[i] == '\\') ? 2 : 1;
        if (i >= line.size())
            return false;
        key = Unquote(line.first(i + 1));
        eq = line.indexOf('=', i + 1);
        if (eq < 0 || !QByteArrayView(line.sliced(i + 1, eq - i - 1)).trimmed().isEmpty())
            return false;
    } else {
        eq = line.indexOf('=');
        if (eq <= 0)
            return false;
        key = QString::fromUtf8(line.first(eq).trimmed());
    }
    value = line.sliced(eq + 1).trimmed();
    return !key.isEmpty();
}

bool ReadSettingsDevice(QIODevice& device, QSettings::SettingsMap& map) {
    map = ParseSettingsText(device.readAll());
    return true;  // a damaged file still gives what it can
}

bool WriteSettingsDevice(QIODevice& device, const QSettings::SettingsMap& map) {
    const QByteArray text = FormatSettingsText(map);
    return device.write(text) == text.size();
}

QSettings::Format SettingsFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), ReadSettingsDevice, WriteSettingsDevice);
    return format;
}

// Where a damaged settings file is kept before the first save replaces it: beside it,
// "<name>.damaged", or "<name>.damaged-2" and up when an earlier, different copy is
// there. An identical earlier copy is reused. Empty when no copy could be made.
QString KeepDamagedCopy(const QString& path, const QByteArray& content) {
    for (int n = 1; n <= 99; ++n) {
        const QString copy =
            n == 1 ? path + QStringLiteral(".damaged") : path + QStringLiteral(".damaged-%1").arg(n);
        QFile existing(copy);
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
                return copy;
            continue;
        }
        QSaveFile out(copy);
        if (out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.commit())
            return copy;
        return {};
    }
    return {};
}

// QSettings guards every read and save with "<file>.lock", which it keeps locked
// (flock) while it is in use. A program killed while creating that file can leave it
// empty, and QSettings then waits 30 s at every read and save before taking it over:
// the next start would hang. A lock file that nobody holds is removed first.
void RemoveAbandonedLock(const QString& settingsPath) {
#ifdef Q_OS_UNIX
    const QByteArray lock = QFile::encodeName(settingsPath + QStringLiteral(".lock"));
    const int fd = ::open(lock.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(lock.constData());  // still held by us, so no one takes it meanwhile
    ::close(fd);
#else
    Q_UNUSED(settingsPath);
#endif
}

class QSettingsBackend final : public SettingsBackend {
public:
    explicit QSettingsBackend(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {
        if (settings_->format() != QSettings::NativeFormat)
            CheckFile();
    }
    ~QSettingsBackend() override { settings_->sync(); }

    std::optional<StoredValue> Value(const QString& section, const QString& key) const override {
        const QVariant v = settings_->value(section + QLatin1Char('/') + key);
        if (!v.isValid())
            return std::nullopt;
        switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                return static_cast<qint32>(v.toLongLong());
            default:
                return v.toString();
        }
    }

    void SetValue(const QString& section, const QString& key, const StoredValue& value) override {
        const QString path = section + QLatin1Char('/') + key;
        if (const auto* number = std::get_if<qint32>(&value))
            settings_->setValue(path, QVariant(static_cast<int>(*number)));
        else
            settings_->setValue(path, std::get<QString>(value));
    }

    void RemoveSection(const QString& section) override { settings_->remove(section); }

    void Sync() override { settings_->sync(); }

    QString Problem() const override {
        if (unreadable_)
            return {};  // told at start: that file is left as it is
        switch (settings_->status()) {
            case QSettings::NoError:
                return {};
            case QSettings::AccessError:
                return QStringLiteral("Your settings could not be saved: %1 cannot be written.")
                    .arg(QDir::toNativeSeparators(settings_->fileName()));
            case QSettings::FormatError:
                return QStringLiteral("The settings in %1 are damaged.")
                    .arg(QDir::toNativeSeparators(settings_->fileName()));
        }
        return {};
    }

    QString OpeningNote() const override { return openingNote_; }

private:
    // Looks at the file before anything is saved: a file that cannot be read is left
    // alone (QSettings cannot write over it either); a file with lines that make no
    // sense is copied aside first, since saving writes only the values that were read.
    void CheckFile() {
        const QString path = settings_->fileName();
        const QFileInfo info(path);
        if (!info.exists())
            return;
        const QString shown = QDir::toNativeSeparators(path);
        QFile file(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            unreadable_ = true;
            openingNote_ = QStringLiteral(
                               "The settings file %1 cannot be read. Lumbrel starts with its "
                               "defaults and leaves that file as it is.")
                               .arg(shown);
            return;
        }
        const QByteArray content = file.readAll();
        int unread = 0;
        QStringList notNumbers;
        (void)ParseSettingsText(content, &unread, &notNumbers);
        if (unread == 0)
            return;
        const QString copy = KeepDamagedCopy(path, content);
        const QString lines =
            unread == 1 ? QStringLiteral("One line") : QStringLiteral("%1 lines").arg(unread);
        openingNote_ =
            QStringLiteral("%1 of the settings file %2 could not be read and were left at their defaults.")
                .arg(lines, shown);
        if (unread == 1)
            openingNote_.replace(QStringLiteral(" were left"), QStringLiteral(" was left"));
        if (!notNumbers.isEmpty())
            openingNote_ += QStringLiteral(" %1: \"%2\".")
                                .arg(notNumbers.size() == 1 ? QStringLiteral("Not a number")
                                                            : QStringLiteral("Not numbers"),
                                     notNumbers.join(QStringLiteral("\", \"")));
        if (!copy.isEmpty())
            openingNote_ +=
                QStringLiteral(" The file as it was is kept as %1.").arg(QDir::toNativeSeparators(copy));
    }

    std::unique_ptr<QSettings> settings_;
    QString openingNote_;
    bool unreadable_ = false;
};

}  // namespace

SettingsValueMap ParseSettingsText(const QByteArray& text, int* unreadLines, QStringList* notNumbers) {
    SettingsValueMap map;
    QHash<QString, QString> seen;  // the spellings of keys the program does not know
    int unread = 0;
    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    QString section;
    while (!rest.isEmpty()) {
        qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const qsizetype close = line.lastIndexOf(']');
            if (close > 0) {
                QByteArrayView name = line.sliced(1, close - 1).trimmed();
                section = name.startsWith('"') ? Unquote(name) : QString::fromUtf8(name);
            } else {
                ++unread;
            }
            continue;
        }
        QString key;
        QByteArrayView value;
        if (!SplitAssignment(line, key, value)) {
            ++unread;
            continue;
        }
        // Kept as QSettings keeps a key: no slash at either end, none doubled ("a/" is "a").
        const QString whole = (section.isEmpty() ? key : section + QLatin1Char('/') + key)
                                  .split(QLatin1Char('/'), Qt::SkipEmptyParts)
                                  .join(QLatin1Char('/'));
        if (whole.isEmpty()) {
            ++unread;
            continue;
        }
        const KnownKey* known = nullptr;
        const QString path = KeptPath(whole, seen, &known);
        QVariant read;
        if (value.startsWith('"')) {
            read = Unquote(value);
        } else if (IsBareInteger(value)) {
            const auto number = ParseStoredInteger(QString::fromLatin1(value));
            if (number)
                read = static_cast<int>(*number);
            else
                read = QString::fromLatin1(value);  // too large for 32 bits: keep it as written
        } else {
            read = QString::fromUtf8(value);
        }
        // A number key given no number would read as its default and stay a text for
        // ever: it takes its default, as a number, and is told like a damaged line.
        if (known && known->number && read.typeId() != QMetaType::Int &&
            !ParseStoredInteger(read.toString())) {
            ++unread;
            if (notNumbers)
                *notNumbers << path.sliced(path.indexOf(QLatin1Char('/')) + 1) + QLatin1Char('=') +
                                   QString::fromUtf8(value);
            read = *known->number;
        }
        map.insert(path, read);
    }
    if (unreadLines)
        *unreadLines = unread;
    return map;
}

QByteArray FormatSettingsText(const SettingsValueMap& values) {
    QByteArray out = "# Lumbrel settings. Numbers are written bare, texts in double quotes.\n";
    QString current;
    bool first = true;
    // Top-level keys first (they have no section), then each section in turn.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
            if ((pass == 0) != (slash < 0))
                continue;
            const QString section = slash < 0 ? QString() : it.key().first(slash);
            const QString name = slash < 0 ? it.key() : it.key().sliced(slash + 1);
            if (pass == 1 && (first || section != current)) {
                out += "\n[" + FormatName(section) + "]\n";
                current = section;
                first = false;
            }
            out += FormatName(name) + '=';
            const QVariant& v = it.value();
            if (v.typeId() == QMetaType::Int)
                out += QByteArray::number(v.toInt());
            else
                out += Quote(v.toString());
            out += '\n';
        }
    }
    return out;
}

std::unique_ptr<SettingsBackend> MakeFileSettingsBackend(const QString& path) {
    RemoveAbandonedLock(path);
    return std::make_unique<QSettingsBackend>(std::make_unique<QSettings>(path, SettingsFormat()));
}

std::unique_ptr<SettingsBackend> MakeUserSettingsBackend() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettingsBackend>(
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication)));
#else
    RemoveAbandonedLock(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                        QStringLiteral("/%1/%2.conf")
                            .arg(QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication)));
    return std::make_unique<QSettingsBackend>(
        std::make_unique<QSettings>(SettingsFormat(), QSettings::UserScope,
                                    QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication)));
#endif
}

QString UserSettingsPath() {
#ifdef Q_OS_WIN
    return {};
#else
    return QSettings(SettingsFormat(), QSettings::UserScope, QString::fromLatin1(kOrganization),
                     QString::fromLatin1(kApplication))
        .fileName();
#endif
}

}  // namespace lumbrel
