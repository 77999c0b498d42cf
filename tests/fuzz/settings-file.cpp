// The input is a settings file.
//
// What it gives, written out again, must read back as the same values of the same
// kinds, with no line left unread. Then a trainer is restored from those values (the
// user's characters included) and runs a random-group session, a word session, a QSO
// session and a file of stations, each for a bounded number of buffers; whatever the
// file held, each session must come to rest after a stop, and the trainer saves its
// options at exit.
#include <cstddef>
#include <cstdint>

#include "settings/SettingsFile.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;
using lumbrel::fuzz::Session;

namespace {

void CheckRoundTrip(const SettingsValueMap& values) {
    const QByteArray text = FormatSettingsText(values);
    int unread = -1;
    const SettingsValueMap back = ParseSettingsText(text, &unread);
    FUZZ_CHECK(unread == 0);
    FUZZ_CHECK(back.size() == values.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto found = back.constFind(it.key());
        FUZZ_CHECK(found != back.cend());
        FUZZ_CHECK(found->typeId() == it->typeId());
        FUZZ_CHECK(*found == *it);
    }
}

// The files a word, QSO and text-file session of this target play, in the data folder.
void WriteSessionFiles() {
    static const bool written = [] {
        fuzz::WriteDataFile(QStringLiteral("Word Files/w.txt"), "the\nof\nand\nparis\ncq\n");
        fuzz::WriteDataFile(QStringLiteral("QSO Files/q.txt"),
                            "cq cq de qa1abc ^ar k\nqa1abc de qb2xy ^kn\n");
        fuzz::WriteDataFile(QStringLiteral("Text Files/p.txt"),
                            "'stations\nqa1abc,0,1,1,1\nqb2xy,40,0,0,0\n");
        return true;
    }();
    (void)written;
}

// The values in a store of their own. A stored file name that climbs out of the
// program folder is kept inside it, so that no file of the machine is read.
SettingsStore FillStore(const SettingsValueMap& values) {
    SettingsStore store = SettingsStore::InMemory();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;  // a key outside every section is never read
        const QString section = it.key().first(slash);
        const QString name = it.key().sliced(slash + 1);
        if (it->typeId() == QMetaType::Int)
            store.WriteInteger(section, name, it->toInt());
        else
            store.WriteString(section, name, it->toString());
    }
    for (const keys::TextKey* key : {&keys::CommonWordFile, &keys::QsoFile})
        if (store.Read(*key).contains(QLatin1String("..")))
            store.Write(*key, QString::fromLatin1(key->def));
    return store;
}

void RunSessions(SettingsStore store, std::uint32_t seed) {
    WriteSessionFiles();
    Session session(store, seed);
    Trainer& t = session.trainer();

    t.Start();
    session.RunBounded(4, 30'000);
    t.PlayCurrentWordFile();
    session.RunBounded(4, 30'000);
    t.PlayCurrentQsoFile();
    session.RunBounded(4, 30'000);
    t.PlayTextFile(fuzz::DataFolder() + QStringLiteral("/Text Files/p.txt"));
    session.RunBounded(4, 30'000);
    // Whatever was stored, the device took every buffer the engine wrote.
    session.CheckNoMessages();
    t.FormClose();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SettingsValueMap values = ParseSettingsText(text);
    CheckRoundTrip(values);

    SettingsStore store = FillStore(values);
    // The user's file names point at the files of this target unless they name others.
    if (!store.Raw(QString::fromLatin1(keys::kSetup), QString::fromLatin1(keys::CommonWordFile.name)))
        store.Write(keys::CommonWordFile, QStringLiteral("Word Files\\w.txt"));
    if (!store.Raw(QString::fromLatin1(keys::kSetup), QString::fromLatin1(keys::QsoFile.name)))
        store.Write(keys::QsoFile, QStringLiteral("QSO Files\\q.txt"));

    RunSessions(store, fuzz::InputHash(text));
    return 0;
}
