#include <gtest/gtest.h>

#include "engine/CharacterSet.h"
#include "tests/TestSupport.h"

using namespace lumbrel;
using test::DefineCharacter;
using test::FakeCharacterWindows;

namespace {

QString Displays(const std::vector<const MorseCharacter*>& records) {
    QString out;
    for (const MorseCharacter* r : records)
        out += r->display == QLatin1String(" ") ? QStringLiteral("_") : r->display;
    return out;
}

struct Fixture : ::testing::Test {
    SettingsStore store = SettingsStore::InMemory();
    FakeCharacterWindows windows;
    CharacterSet set{store, windows};

    // What the first showing of the main window does.
    void Show() {
        set.SetShown();
        set.RebuildCharacterList();
        set.RebuildActiveSet();
    }
};

TEST(LearningOrders, BothTeachTheSameFortyCharactersWithTheSameCodes) {
    const auto& koch = LearningOrderTable(LearningOrder::Koch);
    const auto& mfj = LearningOrderTable(LearningOrder::Mfj);
    EXPECT_EQ(koch[0].display, QStringLiteral(" "));
    EXPECT_EQ(koch[0].code, QByteArray(" "));
    EXPECT_EQ(koch[1].display, QStringLiteral("k"));
    EXPECT_EQ(koch[40].display, QStringLiteral("x"));
    EXPECT_EQ(mfj[1].display, QStringLiteral("w"));
    EXPECT_EQ(mfj[40].display, QStringLiteral("3"));
    std::map<QString, QByteArray> kochCodes;
    for (int i = 1; i <= 40; ++i)
        kochCodes[koch[i].display] = koch[i].code;
    ASSERT_EQ(kochCodes.size(), 40u);
    for (int i = 1; i <= 40; ++i) {
        ASSERT_TRUE(kochCodes.count(mfj[i].display)) << mfj[i].display.toStdString();
        EXPECT_EQ(kochCodes[mfj[i].display], mfj[i].code) << mfj[i].display.toStdString();
    }
    // A few codes checked against the Morse alphabet itself.
    EXPECT_EQ(kochCodes[QStringLiteral("?")], QByteArray("..--.."));
    EXPECT_EQ(kochCodes[QStringLiteral(",")], QByteArray("--..--"));
    EXPECT_EQ(kochCodes[QStringLiteral("/")], QByteArray("-..-."));
    EXPECT_EQ(kochCodes[QStringLiteral("0")], QByteArray("-----"));
}

TEST(LearningOrders, CharacterMapsFollowTheirOrder) {
    const auto& koch = CharacterMap(LearningOrder::Koch);
    const auto& mfj = CharacterMap(LearningOrder::Mfj);
    struct Row {
        char c;
        int koch;
        int mfj;
    };
    for (const Row row :
         {Row{' ', 0, 0}, Row{'K', 1, 15}, Row{'k', 1, 15}, Row{'W', 11, 1}, Row{'w', 11, 1},
          Row{'E', 16, 13}, Row{'e', 16, 13}, Row{'/', 24, 30}, Row{'?', 32, 36}, Row{'0', 18, 38},
          Row{'^', 254, 254}, Row{'~', 255, 254}, Row{'=', 255, 255}, Row{'\'', 255, 255}, Row{'!', 255, 255},
          Row{'+', 255, 255}, Row{'\n', 255, 255}, Row{'\0', 255, 255}, Row{'\x7f', 255, 255}}) {
        EXPECT_EQ(koch[static_cast<unsigned char>(row.c)], row.koch) << int(row.c);
        EXPECT_EQ(mfj[static_cast<unsigned char>(row.c)], row.mfj) << int(row.c);
    }
    // Every letter in both cases and every digit reaches the record that shows it.
    for (LearningOrder order : {LearningOrder::Koch, LearningOrder::Mfj}) {
        const auto& table = LearningOrderTable(order);
        const auto& map = CharacterMap(order);
        for (char c = 'a'; c <= 'z'; ++c) {
            EXPECT_EQ(table[map[c]].display, QString(QChar(c)));
            EXPECT_EQ(map[c - 'a' + 'A'], map[c]);
        }
        for (char c = '0'; c <= '9'; ++c)
            EXPECT_EQ(table[map[c]].display, QString(QChar(c)));
    }
}

TEST_F(Fixture, DefaultActiveSetIsWordSpaceAndTheFirstTwoOfTheOrder) {
    Show();
    EXPECT_EQ(set.CharacterList().size(), 41u);
    EXPECT_EQ(windows.maximum, 40);
    EXPECT_EQ(Displays(set.ActiveSet()), QStringLiteral("_km"));

    set.SetOrder(LearningOrder::Mfj);
    set.RebuildCharacterList();
    set.RebuildActiveSet();
    EXPECT_EQ(Displays(set.ActiveSet()), QStringLiteral("_wb"));
}

TEST_F(Fixture, TheMasksCharactersOfTheFirstNLeaveNoGapAndBitsAbove31ComeFromTheSecondWord) {
    for (int slot = 1; slot <= 3; ++slot)  // positions 41 to 43
        DefineCharacter(store, slot, QStringLiteral(".-.-."), QStringLiteral("u%1").arg(slot));
    const struct {
        int count, low, high;
        const char* active;
    } rows[] = {
        {5, 0x1B, 0, "_kmsu"},         // bits 0, 1, 3, 4
        {43, 0, 0b1001 << 6, "_6u2"},  // bits 38 and 41: positions 39 and 42
        {4, ~0xF, -1, "_"},
    };
    for (const auto& row : rows) {
        windows.count = row.count;
        store.Write(keys::Session1, row.low);
        store.Write(keys::Session2, row.high);
        Show();
        EXPECT_EQ(Displays(set.ActiveSet()), QString::fromLatin1(row.active)) << row.count;
    }
}

TEST_F(Fixture, ChangingTheCountWritesAFreshMaskAndRefreshes) {
    windows.count = 5;
    store.Write(keys::Session1, 0x1B);
    Show();
    windows.count = 6;
    set.CharacterCountChanged();
    EXPECT_EQ(store.Read(keys::Session1), 0x3F);
    EXPECT_EQ(store.Read(keys::Session2), 0);
    EXPECT_EQ(windows.shownBoxes, 6);
    EXPECT_EQ(Displays(set.ActiveSet()), QStringLiteral("_kmrsua"));
}

TEST_F(Fixture, MaskWordsSplitAtBit32) {
    for (const auto& [count, low, high] :
         {std::tuple{31, 0x7FFFFFFF, 0}, std::tuple{32, -1, 0}, std::tuple{33, -1, 1},
          std::tuple{40, -1, 0xFF}, std::tuple{63, -1, 0x7FFFFFFF}, std::tuple{64, -1, -1},
          std::tuple{0, 0, 0}}) {
        WriteFirstCharactersMask(store, count);
        EXPECT_EQ(store.Read(keys::Session1), low) << count;
        EXPECT_EQ(store.Read(keys::Session2), high) << count;
    }
}

TEST_F(Fixture, RefreshDoesNothingBeforeTheWindowIsShown) {
    windows.count = 5;
    set.CharacterCountChanged();
    EXPECT_EQ(store.Read(keys::Session1), 0x1F);  // the mask is still written
    EXPECT_EQ(windows.showBoxesCalls, 0);
    EXPECT_TRUE(set.ActiveSet().empty());
}

TEST_F(Fixture, UserCharactersFollowTheBuiltInOnesSkippingEmptySlots) {
    DefineCharacter(store, 1, QStringLiteral("-...-"), QStringLiteral("="));
    DefineCharacter(store, 2, QStringLiteral(".-.-."), QStringLiteral("AR"));
    DefineCharacter(store, 3, QString(), QStringLiteral("ignored"));
    DefineCharacter(store, 4, QStringLiteral("...-.-...-.-"), QStringLiteral("a very long display"));
    windows.count = 50;
    Show();
    ASSERT_EQ(set.CharacterList().size(), 44u);
    EXPECT_EQ(windows.maximum, 43);
    EXPECT_EQ(windows.count, 43);  // a stored 50 comes back as the maximum
    EXPECT_EQ(set.CharacterList()[41]->display, QStringLiteral("="));
    EXPECT_EQ(set.CharacterList()[42]->display, QStringLiteral("AR"));
    EXPECT_EQ(set.CharacterList()[43]->display, QStringLiteral("a very lon"));  // cut to 10
    EXPECT_EQ(set.CharacterList()[43]->code, QByteArray("...-.-...-"));
    ASSERT_EQ(windows.captions.size(), 43);
    EXPECT_EQ(windows.captions.first(), QStringLiteral("K"));
    EXPECT_EQ(windows.captions.last(), QStringLiteral("A VERY LON"));
    EXPECT_EQ(windows.tools, true);

    // The same characters follow the MFJ order too.
    set.SetOrder(LearningOrder::Mfj);
    set.RebuildCharacterList();
    EXPECT_EQ(set.CharacterList()[41]->display, QStringLiteral("="));
    EXPECT_EQ(set.CharacterList()[1]->display, QStringLiteral("w"));
}

TEST_F(Fixture, DeletingUserCharactersLowersTheCount) {
    for (int slot = 1; slot <= 3; ++slot)
        DefineCharacter(store, slot, QStringLiteral(".-.-."), QStringLiteral("#%1").arg(slot));
    windows.count = 43;
    Show();
    EXPECT_EQ(windows.count, 43);
    for (int slot = 1; slot <= 3; ++slot)
        store.EraseSection(SettingsStore::MorseLetterSection(slot));
    set.RebuildCharacterList();
    set.RebuildActiveSet();
    EXPECT_EQ(windows.maximum, 40);
    EXPECT_EQ(windows.count, 40);
    EXPECT_EQ(set.ActiveSet().size(), 41u);
}

TEST_F(Fixture, TwentyFourUserCharactersMakeTheLongestList) {
    for (int slot = 1; slot <= 30; ++slot)  // slots past 24 are not read
        DefineCharacter(store, slot, QStringLiteral("."), QStringLiteral("#"));
    windows.count = 64;
    Show();
    EXPECT_EQ(set.CharacterList().size(), 65u);
    EXPECT_EQ(windows.maximum, 64);
    EXPECT_EQ(set.ActiveSet().size(), 65u);
}

TEST_F(Fixture, TextLookUpUsesTheOrderThenUserCharactersForUnmappedBytes) {
    DefineCharacter(store, 1, QStringLiteral("-...-"), QStringLiteral("="));
    DefineCharacter(store, 2, QStringLiteral(".-.-."), QStringLiteral("AR"));
    DefineCharacter(store, 3, QStringLiteral("...-.-"), QStringLiteral("=second"));
    DefineCharacter(store, 4, QStringLiteral("--.--"), QStringLiteral("\u00f1"));
    DefineCharacter(store, 5, QStringLiteral("...---..."), QStringLiteral("\U0001F198"));
    Show();
    EXPECT_EQ(set.LookUpTextCharacter('k'), 1);
    EXPECT_EQ(set.LookUpTextCharacter('K'), 1);
    EXPECT_EQ(set.LookUpTextCharacter('/'), 24);
    EXPECT_EQ(set.LookUpTextCharacter(' '), kWordSpace);
    EXPECT_EQ(set.LookUpTextCharacter('^'), kProsignMarker);
    EXPECT_EQ(set.LookUpTextCharacter('~'), kUnmapped);
    EXPECT_EQ(set.LookUpTextCharacter('='), 41);  // the first user character that starts with it
    EXPECT_EQ(set.LookUpTextCharacter('A'), 6);   // "A" is mapped: "AR" is never reached from text
    EXPECT_EQ(set.LookUpTextCharacter('+'), kUnmapped);
    EXPECT_EQ(set.LookUpTextCharacter(0xE9), kUnmapped);
    EXPECT_EQ(set.LookUpTextCharacter(U'\u00f1'), 44);      // by character, not byte
    EXPECT_EQ(set.LookUpTextCharacter(U'\U0001F198'), 45);  // beyond 16 bits too
    EXPECT_EQ(set.LookUpTextCharacter(0xD83D), kUnmapped);  // not half of it
    EXPECT_EQ(set.LookUpTextCharacter(0), kUnmapped);

    set.SetOrder(LearningOrder::Mfj);
    set.RebuildCharacterList();
    EXPECT_EQ(set.LookUpTextCharacter('/'), 30);
    EXPECT_EQ(set.LookUpTextCharacter('~'), kProsignMarker);
}

TEST_F(Fixture, LearningToolsNeedEveryCharacter) {
    Show();
    EXPECT_EQ(windows.tools, false);
    windows.count = 40;
    set.CharacterCountChanged();
    EXPECT_EQ(windows.tools, true);
    windows.count = 39;
    set.CharacterCountChanged();
    EXPECT_EQ(windows.tools, false);
}

}  // namespace
