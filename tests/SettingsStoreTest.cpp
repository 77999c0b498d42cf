#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "tests/TestSupport.h"

using namespace lumbrel;

namespace {

const QString kSetup = QStringLiteral("Setup");

// Both backends must behave the same through the six operations.
class StoreTest : public ::testing::TestWithParam<bool> {
protected:
    SettingsStore Make() {
        if (!GetParam())
            return SettingsStore::InMemory();
        return SettingsStore::File(dir.filePath(QStringLiteral("Lumbrel.conf")));
    }
    QTemporaryDir dir;
};

TEST_P(StoreTest, MissingValuesGiveTheKeyDefaults) {
    SettingsStore store = Make();
    EXPECT_EQ(store.Read(keys::Pitch), 750);
    EXPECT_EQ(store.Read(keys::Letters), 2);
    EXPECT_EQ(store.Read(keys::SignalLevel), 7);
    EXPECT_EQ(store.Read(keys::WordFilter), 67108863);
    EXPECT_EQ(store.Read(keys::Session1), -1);
    EXPECT_EQ(store.Read(keys::Session2), -1);
    EXPECT_EQ(store.Read(keys::Mp3BitRate), 1);
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("Word Files\\1000 Common Words.txt"));
    EXPECT_EQ(store.Read(keys::QsoFile), QStringLiteral("QSO Files\\QSO.txt"));
    EXPECT_EQ(store.Read(keys::FontName), QStringLiteral("Arial"));
    EXPECT_FALSE(store.Read(keys::Saved));
    EXPECT_EQ(store.ReadString(QStringLiteral("MorseLetter3"), QStringLiteral("Content"), {}), QString());
}

TEST_P(StoreTest, IntegerStoredAsTextReadsAsItsNumberOrTheDefault) {
    SettingsStore store = Make();
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral("12"));
    EXPECT_EQ(store.Read(keys::Pitch), 12);
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral("abc"));
    EXPECT_EQ(store.Read(keys::Pitch), 750);
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral("12abc"));
    EXPECT_EQ(store.Read(keys::Pitch), 750);
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral("99999999999"));
    EXPECT_EQ(store.Read(keys::Pitch), 750);
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral(" -7 "));
    EXPECT_EQ(store.Read(keys::Pitch), -7);
}

TEST_P(StoreTest, WritingAnIntegerKeepsAnExistingTextAText) {
    SettingsStore store = Make();
    store.WriteString(kSetup, QStringLiteral("Pitch"), QStringLiteral("12"));
    store.Write(keys::Pitch, 13);
    const auto raw = store.Raw(kSetup, QStringLiteral("Pitch"));
    ASSERT_TRUE(raw && std::holds_alternative<QString>(*raw));
    EXPECT_EQ(std::get<QString>(*raw), QStringLiteral("13"));

    store.Write(keys::Letters, 7);  // a new value is a number
    const auto letters = store.Raw(kSetup, QStringLiteral("Letters"));
    ASSERT_TRUE(letters && std::holds_alternative<qint32>(*letters));
    EXPECT_EQ(std::get<qint32>(*letters), 7);
}

TEST_P(StoreTest, NegativeAndExtremeIntegersRoundTrip) {
    SettingsStore store = Make();
    for (int v : {-1, 0, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0x3FFFFFF}) {
        store.Write(keys::Session1, v);
        EXPECT_EQ(store.Read(keys::Session1), v);
    }
}

TEST_P(StoreTest, YesNoValuesAreTextsReadAsNumbers) {
    SettingsStore store = Make();
    store.Write(keys::Saved, true);
    const auto raw = store.Raw(QStringLiteral("FormState"), QStringLiteral("Saved"));
    ASSERT_TRUE(raw && std::holds_alternative<QString>(*raw));
    EXPECT_EQ(std::get<QString>(*raw), QStringLiteral("1"));
    EXPECT_TRUE(store.Read(keys::Saved));
    store.Write(keys::Saved, false);
    EXPECT_EQ(std::get<QString>(*store.Raw(QStringLiteral("FormState"), QStringLiteral("Saved"))),
              QStringLiteral("0"));
    EXPECT_FALSE(store.Read(keys::Saved));
    store.WriteInteger(QStringLiteral("FormState"), QStringLiteral("Maximized"), 5);  // any non-zero is yes
    EXPECT_TRUE(store.Read(keys::Maximized));
    store.WriteString(QStringLiteral("FormState"), QStringLiteral("Maximized"), QStringLiteral("yes"));
    EXPECT_FALSE(store.Read(keys::Maximized));  // no number: the default
}

TEST_P(StoreTest, EraseSectionRemovesOnlyThatSection) {
    SettingsStore store = Make();
    const QString s3 = SettingsStore::MorseLetterSection(3);
    EXPECT_EQ(s3, QStringLiteral("MorseLetter3"));
    store.WriteString(s3, QStringLiteral("Content"), QStringLiteral("-...-"));
    store.WriteString(s3, QStringLiteral("Display"), QStringLiteral("="));
    store.WriteString(SettingsStore::MorseLetterSection(13), QStringLiteral("Content"),
                      QStringLiteral(".-.-."));
    store.Write(keys::Pitch, 600);
    store.EraseSection(s3);
    EXPECT_FALSE(store.Raw(s3, QStringLiteral("Content")));
    EXPECT_FALSE(store.Raw(s3, QStringLiteral("Display")));
    EXPECT_EQ(store.ReadString(QStringLiteral("MorseLetter13"), QStringLiteral("Content"), {}),
              QStringLiteral(".-.-."));
    EXPECT_EQ(store.Read(keys::Pitch), 600);
}

TEST_P(StoreTest, HoldersOnTheSameLocationSeeEachOthersWrites) {
    SettingsStore first = Make();
    SettingsStore second = first;  // the dialogs' handles share the location
    first.Write(keys::UseMfj, 1);
    EXPECT_EQ(second.Read(keys::UseMfj), 1);
    if (GetParam()) {
        // A separate QSettings object on the same file sees it too.
        SettingsStore third = SettingsStore::File(dir.filePath(QStringLiteral("Lumbrel.conf")));
        EXPECT_EQ(third.Read(keys::UseMfj), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "File" : "Memory"; });

TEST(SettingsKeyTable, NamesAreUniquePerSectionAndOnlyTheFileFolderFontAndDeviceKeysAreTexts) {
    std::set<std::pair<std::string, std::string>> seen;
    int texts = 0;
    for (const auto& key : keys::kAllKeys) {
        std::visit(
            [&](const auto* k) {
                EXPECT_TRUE(seen.insert({k->section, k->name}).second) << k->name;
            },
            key);
        if (std::holds_alternative<const keys::TextKey*>(key))
            ++texts;
    }
    // word file, QSO file, font name, serial device, text, recording and export folders,
    // the serial key's device and the MIDI key's port
    EXPECT_EQ(texts, 9);
    EXPECT_EQ(seen.size(), keys::kAllKeys.size());
}

TEST(SettingsFileFormat, WritesNumbersBareAndTextsQuotedThenReadsThemBack) {
    SettingsValueMap values;
    values.insert(QStringLiteral("Setup/Pitch"), 750);
    values.insert(QStringLiteral("Setup/Session1"), -1);
    values.insert(QStringLiteral("Setup/Common Word File"),
                  QStringLiteral("Word Files\\1000 Common Words.txt"));
    values.insert(QStringLiteral("Setup/Font Name"), QStringLiteral("DejaVu \"Sans\"\n\t\x01"));
    values.insert(QStringLiteral("Setup/Pitch Text"), QStringLiteral("12"));
    values.insert(QStringLiteral("MorseLetter1/Display"), QStringLiteral("é="));
    values.insert(QStringLiteral("FormState/Saved"), QStringLiteral("1"));

    const QByteArray text = FormatSettingsText(values);
    EXPECT_TRUE(text.contains("[Setup]\n"));
    EXPECT_TRUE(text.contains("\nPitch=750\n"));
    EXPECT_TRUE(text.contains("\nSession1=-1\n"));
    EXPECT_TRUE(text.contains("\nPitch Text=\"12\"\n"));
    EXPECT_TRUE(text.contains("\nSaved=\"1\"\n"));

    const SettingsValueMap back = ParseSettingsText(text);
    EXPECT_EQ(back.size(), values.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        ASSERT_TRUE(back.contains(it.key())) << it.key().toStdString();
        EXPECT_EQ(back.value(it.key()).typeId(), it.value().typeId()) << it.key().toStdString();
        EXPECT_EQ(back.value(it.key()), it.value()) << it.key().toStdString();
    }
}

TEST(SettingsFileFormat, HandEditedAndDamagedFilesGiveWhatCanBeRead) {
    QByteArray text =
        "\xEF\xBB\xBF# edited by hand\r\n"
        "[Setup]\r\n"
        "  Pitch = 600  \r\n"
        "Common Word File=Word Files\\Short.txt\r\n"  // unquoted text, single backslash
        "Font Name=\"Open\r\n"                        // unterminated quote
        "garbage line without equals\n"
        "=no key\n"
        "Letters=99999999999\n"  // too large for 32 bits: the default
        "Speed=+3\n";
    text += QByteArray("\x00\x01\x02\xff\xfe binary\n", 13);  // NUL bytes and invalid UTF-8
    text +=
        "[FormState\n"  // broken header: ignored
        "Left=10\n";
    const SettingsValueMap map = ParseSettingsText(text);
    EXPECT_EQ(map.value(QStringLiteral("Setup/Pitch")), QVariant(600));
    EXPECT_EQ(map.value(QStringLiteral("Setup/Common Word File")),
              QVariant(QStringLiteral("Word Files\\Short.txt")));
    EXPECT_EQ(map.value(QStringLiteral("Setup/Font Name")), QVariant(QStringLiteral("Open")));
    EXPECT_EQ(map.value(QStringLiteral("Setup/Letters")), QVariant(2));
    EXPECT_EQ(map.value(QStringLiteral("Setup/Speed")), QVariant(3));
    EXPECT_FALSE(map.contains(QStringLiteral("Setup/")));
    EXPECT_FALSE(map.contains(QStringLiteral("FormState/Left")));  // "[FormState" has no closing bracket
    EXPECT_EQ(map.value(QStringLiteral("Setup/Left")), QVariant(10));
}

TEST(SettingsFile, CorruptOrUnreadableFilesReadAsDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    QByteArray junk(4096, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 7919) & 0xFF);
    test::WriteAll(path, junk);
    {
        SettingsStore store = SettingsStore::File(path);
        EXPECT_EQ(store.Read(keys::Pitch), 750);
        EXPECT_EQ(store.Read(keys::FontName), QStringLiteral("Arial"));
    }
    // A folder where the file should be cannot be read at all.
    const QString folder = dir.filePath(QStringLiteral("folder.conf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SettingsStore store = SettingsStore::File(folder);
    EXPECT_EQ(store.Read(keys::Letters), 2);
    store.Write(keys::Letters, 9);  // no crash; the value is kept for this run
    store.Sync();
    EXPECT_EQ(store.Read(keys::Letters), 9);
    EXPECT_FALSE(store.OpeningNote().isEmpty());
}

TEST(SettingsFile, SavedFileIsTheReadableTextFormat) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    {
        SettingsStore store = SettingsStore::File(path);
        store.Write(keys::Pitch, 640);
        store.Write(keys::FontName, QStringLiteral("DejaVu Sans"));
        store.Write(keys::Maximized, true);
    }
    const QByteArray text = test::ReadAll(path);
    EXPECT_TRUE(text.contains("[Setup]\n")) << text.constData();
    EXPECT_TRUE(text.contains("Pitch=640\n")) << text.constData();
    EXPECT_TRUE(text.contains("Font Name=\"DejaVu Sans\"\n")) << text.constData();
    EXPECT_TRUE(text.contains("[FormState]\nMaximized=\"1\"\n")) << text.constData();

    // A hand edit is honoured by the next run.
    QByteArray edited = text;
    edited.replace("Pitch=640", "Pitch=\"12\"");
    test::WriteAll(path, edited);
    SettingsStore store = SettingsStore::File(path);
    EXPECT_EQ(store.Read(keys::Pitch), 12);
    store.Write(keys::Pitch, 13);
    store.Sync();
    EXPECT_TRUE(test::ReadAll(path).contains("Pitch=\"13\"\n"));
}

TEST(SettingsFile, UserStoreLivesInTheConfigurationFolderUnderTheOrganisation) {
    const QString path = UserSettingsPath();
#ifndef Q_OS_WIN
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Zelph Software/Lumbrel.conf"))) << path.toStdString();
#endif
}

}  // namespace
