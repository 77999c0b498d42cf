#include <gtest/gtest.h>

#include "session/DelayedDisplay.h"
#include "audio/MessageQueue.h"

using namespace lumbrel;

namespace {

struct DisplayRig {
    SessionReadouts readouts;
    TextArea sent;
    MessageQueue queue;
    DelayedDisplay display{readouts, sent, queue};

    void Delay(int index) { display.SetDelayIndex(index); }
    void Take(const QString& text) { display.TakeText(&text); }
    void Step() {
        while (auto m = queue.TryTake())
            if (m->message == kDisplayMessage)
                display.ShowHeldItems();
    }
};
struct Display : ::testing::Test, DisplayRig {};

TEST_F(Display, ItemsOfTheDelayComboBox) {
    Delay(0);
    EXPECT_EQ(display.Delay(), DelayedDisplay::kHide);
    Delay(1);
    EXPECT_EQ(display.Delay(), 0);
    Delay(12);
    EXPECT_EQ(display.Delay(), 20);
    sent.Append(QStringLiteral("abc"));
    Delay(4);
    EXPECT_EQ(display.Delay(), 3);
    EXPECT_TRUE(sent.Text().isEmpty());  // every change empties the text area
}

TEST_F(Display, RandomGroupsHoldBackCharactersWordSpacesIncluded) {
    Delay(4);  // 3
    display.SetSourceKind(SourceKind::RandomGroups);
    for (const char* t : {"k", "m", " ", "k", "k"})
        Take(QString::fromLatin1(t));
    Step();
    EXPECT_EQ(sent.Text(), QStringLiteral("km"));
    display.TakeLateText(nullptr);
    const QString late = QStringLiteral("m");
    display.TakeLateText(&late);
    Step();
    EXPECT_EQ(sent.Text(), QStringLiteral("km"));  // late text posts nothing
    display.FinalReveal();
    EXPECT_EQ(sent.Text(), QStringLiteral("km kkm"));
    EXPECT_TRUE(display.Queue().empty());
}

TEST_F(Display, PrimedEventsHandOverNothing) {
    Delay(1);
    display.TakeText(nullptr);
    display.TakeText(nullptr);
    Step();
    EXPECT_TRUE(sent.Text().isEmpty());
    display.ShowCount(0);
    EXPECT_EQ(readouts.Status(), QString());
    display.ShowCount(-1);
    EXPECT_EQ(readouts.Status(), QString());
    display.ShowCount(12);
    EXPECT_EQ(readouts.Status(), QStringLiteral("  12 characters sent"));
}

TEST_F(Display, WhatIsShownAsTheItemsAreHeardAndAtTheEnd) {
    // Hide shows only its notice, then everything; words are held as whole words and the
    // tray shows the last, except for single words in word sessions; a stopped text
    // session reveals the held words then the partial word; parameter lines show nothing
    // held.
    const struct {
        const char* name;
        int delayIndex;
        const char* before;  // in the text area when the delay was chosen
        SourceKind kind;
        bool singleWordSession, parameterLines;
        const char* heard;
        const char* late;        // after the session stopped
        const char* whileHeard;  // none: the hide notice
        const char* tray;
        const char* atTheEnd;
    } rows[] = {
        {"hide", 0, "old", SourceKind::RandomGroups, false, false, "km ", nullptr, nullptr, "", "km "},
        {"two words", 3, "", SourceKind::SequentialText, false, false, "the quick brown fox ", nullptr,
         "the quick ", "quick", "the quick brown fox "},
        {"stopped in a word", 3, "", SourceKind::SequentialText, false, false, "one two three fo", "u",
         "one ", "one", "one two three fou"},
        {"single words", 1, "", SourceKind::RandomEntries, true, false, "cq de ", nullptr, "cq de ", "",
         "cq de "},
        {"parameter lines", 1, "", SourceKind::SequentialText, false, true, "abc d", nullptr, "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DisplayRig fresh;
        fresh.Delay(row.delayIndex);
        fresh.sent.Append(QString::fromLatin1(row.before));
        fresh.display.SetSourceKind(row.kind);
        fresh.display.SetSingleWordOnly(row.singleWordSession);
        fresh.display.SetWordListSession(row.singleWordSession);
        fresh.display.SetParameterLineMode(row.parameterLines);
        for (QChar c : QString::fromLatin1(row.heard))
            fresh.Take(QString(c));
        fresh.Step();
        EXPECT_EQ(fresh.sent.Text(), row.whileHeard ? QString::fromLatin1(row.whileHeard)
                                                    : DelayedDisplay::HideNotice().join(QLatin1Char('\n')));
        EXPECT_EQ(fresh.readouts.TrayWord(), QString::fromLatin1(row.tray));
        if (row.late) {
            const QString late = QString::fromLatin1(row.late);
            fresh.display.TakeLateText(&late);
        }
        fresh.display.FinalReveal();
        EXPECT_EQ(fresh.sent.Text(), QString::fromLatin1(row.atTheEnd));
    }
}

TEST_F(Display, AStepPostedBeforeSwitchingToHideRevealsNothing) {
    Delay(1);
    Take(QStringLiteral("k"));
    Delay(0);
    Step();
    EXPECT_TRUE(sent.Text().isEmpty());
}

}  // namespace
