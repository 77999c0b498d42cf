#include <gtest/gtest.h>

#include "session/DelayedDisplay.h"
#include "audio/MessageQueue.h"

using namespace lumbrel;

namespace {

struct Display : ::testing::Test {
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

TEST_F(Display, HideShowsOnlyTheNoticeThenEverything) {
    Delay(0);
    sent.Append(QStringLiteral("old"));
    for (const char* t : {"k", "m", " "})
        Take(QString::fromLatin1(t));
    Step();
    EXPECT_EQ(sent.Lines(), DelayedDisplay::HideNotice());
    display.FinalReveal();
    EXPECT_EQ(sent.Text(), QStringLiteral("km "));
}

TEST_F(Display, WordsAreHeldAsWholeWordsAndTheTrayShowsTheLast) {
    Delay(3);  // 2 words
    display.SetSourceKind(SourceKind::SequentialText);
    for (const QString& word :
         {QStringLiteral("the "), QStringLiteral("quick "), QStringLiteral("brown "), QStringLiteral("fox ")})
        for (QChar c : word)
            Take(QString(c));
    Step();
    EXPECT_EQ(sent.Text(), QStringLiteral("the quick "));
    EXPECT_EQ(readouts.TrayWord(), QStringLiteral("quick"));
}

TEST_F(Display, AStoppedTextSessionRevealsHeldWordsThenThePartialWord) {
    Delay(3);
    display.SetSourceKind(SourceKind::SequentialText);
    for (QChar c : QStringLiteral("one two three fo"))
        Take(QString(c));
    Step();
    EXPECT_EQ(sent.Text(), QStringLiteral("one "));
    const QString u = QStringLiteral("u");
    display.TakeLateText(&u);
    display.FinalReveal();
    EXPECT_EQ(sent.Text(), QStringLiteral("one two three fou"));
}

TEST_F(Display, SingleWordOnlyLeavesTheTrayAloneInWordSessions) {
    Delay(1);
    display.SetSourceKind(SourceKind::RandomEntries);
    display.SetSingleWordOnly(true);
    display.SetWordListSession(true);
    for (QChar c : QStringLiteral("cq de "))
        Take(QString(c));
    Step();
    EXPECT_EQ(sent.Text(), QStringLiteral("cq de "));
    EXPECT_EQ(readouts.TrayWord(), QString());
}

TEST_F(Display, ParameterLineModeShowsNothingHeld) {
    Delay(1);
    display.SetSourceKind(SourceKind::SequentialText);
    display.SetParameterLineMode(true);
    for (QChar c : QStringLiteral("abc d"))
        Take(QString(c));
    Step();
    display.FinalReveal();
    EXPECT_TRUE(sent.Text().isEmpty());
}

TEST_F(Display, AStepPostedBeforeSwitchingToHideRevealsNothing) {
    Delay(1);
    Take(QStringLiteral("k"));
    Delay(0);
    Step();
    EXPECT_TRUE(sent.Text().isEmpty());
}

}  // namespace
