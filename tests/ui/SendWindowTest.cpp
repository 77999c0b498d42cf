// The Send window through its own signals: the sound's callback run by hand (the
// virtual output has none), a straight key's events timed by the timing rules (60 ms a
// unit at the keyer's 20 WPM), the practice chosen and started with the window's
// buttons, Enter typed into it, the records it hands on.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "audio/VirtualAudioDevice.h"
#include "tests/decoder/Sending.h"
#include "scoring/History.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/SendWindow.h"

namespace lumbrel::test {
namespace {

// The audio callback every 10 ms, the window's timer every 30.
struct Stream {
    SendWindow& window;
    std::uint64_t frame = 0;
    std::int64_t us = 0;
    std::vector<std::int16_t> buffer = std::vector<std::int16_t>(2 * 441);

    void Run(int ms) {
        for (int i = 0; i < ms / 10; ++i) {
            window.Practice().Sound().Mix(buffer.data(), 441, frame, us, us);
            frame += 441;
            us += 10'000;
            if (i % 3 == 2)
                window.TakeMarks();
        }
        window.TakeMarks();
    }
    // Keys text on the straight contact from now, and plays through its last mark.
    void Key(const QString& text) {
        std::int64_t end = us;
        for (const KeyMark& m : Sending(text, {}).marks) {
            window.Practice().Sound().Events().Push(
                {KeyContact::Straight, true, us + std::llround(m.downMs * 1000)});
            window.Practice().Sound().Events().Push(
                {KeyContact::Straight, false, end = us + std::llround(m.upMs * 1000)});
        }
        Run(static_cast<int>((end - us) / 1000) + 20);
    }
};

TEST(SendWindow, FreeSendingIsReadAndATextChosenInTheWindowIsScoredLineByLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Text Files")));
    QFile file(dir.filePath("Text Files/Short.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("We go out\n") > 0);
    file.close();

    VirtualClock clock;
    VirtualAudioDevice device(clock);
    SendWindow window(
        device, [] {}, SettingsStore::InMemory(), 700);
    std::vector<SendingRecord> records;
    window.onRecord = [&](const SendingRecord& r) {
        records.push_back(r);
    };
    window.SetDrillSources({nullptr, {}, {}, dir.path(), {}});
    window.show();
    Stream stream{window};

    // Free sending from the start: read as it is sent, the line's fist after a pause.
    stream.Key(QStringLiteral("cq"));
    EXPECT_EQ(window.ReadingLabel()->text(), "CQ");
    stream.Run(1300);
    EXPECT_EQ(window.ReadingLabel()->text(), "");
    EXPECT_TRUE(window.ReportLabel()->text().startsWith("Speed 20.0 WPM, dah:dit 3.00, weighting 50 %"))
        << window.ReportLabel()->text().toStdString();

    // A text file chosen and started.
    window.PracticeBox()->setCurrentIndex(static_cast<int>(SendWindow::Practice::Text));
    ASSERT_EQ(window.TextFileBox()->currentText(), "Short");
    QTest::mouseClick(window.StartButton(), Qt::LeftButton);
    ASSERT_EQ(records.size(), 1u);  // the free sending before
    EXPECT_EQ(std::pair(records[0].kind, records[0].items[0].sent),
              std::pair(SendingKind::Free, QString("cq")));
    EXPECT_EQ(window.PromptLabel()->text(), "Send: WE GO OUT");
    EXPECT_FALSE(window.PracticeBox()->isEnabled());  // kept while the text is sent

    stream.Key(QStringLiteral("we go oat"));
    stream.Run(1300);  // the pause ends the line, and the text
    EXPECT_EQ(window.findChild<QLabel*>("SendResult")->text(), "6 of 7 characters right: WE GO OAT");
    EXPECT_TRUE(window.ReportLabel()->text().contains("U read as A"))
        << window.ReportLabel()->text().toStdString();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(std::tuple(records[1].kind, records[1].items.size(), records[1].AccuracyPercent()),
              std::tuple(SendingKind::Text, 1u, 100.0 * 6 / 7));
    stream.Run(30);
    EXPECT_EQ(window.StartButton()->text(), "&Start");  // free sending again
    EXPECT_TRUE(window.PracticeBox()->isEnabled());
    EXPECT_TRUE(window.PromptLabel()->text().startsWith("Text over: 86 %"));

    // A long line wraps in the window rather than widening it past the screen.
    const int width = window.width();
    stream.Key(QStringLiteral("paris paris paris paris paris paris paris paris paris"));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.ReadingLabel()->text().size(), 53);
    EXPECT_EQ(window.width(), width);

    window.reject();  // the free line: one record more
    EXPECT_EQ(records.size(), 3u);
}

// Opened from the main window, an echo drill plays a character in use through the
// trainer's output; Enter takes the answer (here none) and closing hands on the drill.
TEST(SendWindow, AnEchoDrillPlaysThroughTheTrainersOutputAndEndsAsARecord) {
    SettingsStore store = SettingsStore::InMemory();
    WindowRig rig(store);
    QTemporaryDir dir;
    rig.window->SetHistoryPath(dir.filePath("history.sqlite"));
    rig.window->show();
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    QTest::keyClick(rig.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    SendWindow* send = rig.window->Sending();
    ASSERT_NE(send, nullptr);
    send->PracticeBox()->setCurrentIndex(static_cast<int>(SendWindow::Practice::EchoCharacters));
    QTest::mouseClick(send->StartButton(), Qt::LeftButton);
    EXPECT_EQ(send->PromptLabel()->text(), "Listen…");
    for (int ms = 0; ms < 5000 && send->PromptLabel()->text() != "Key it back"; ms += 10)
        rig.Run(10, 10);
    ASSERT_EQ(send->PromptLabel()->text(), "Key it back");
    QTest::keyClick(send, Qt::Key_Return);
    EXPECT_TRUE(send->findChild<QLabel*>("SendResult")->text().endsWith(" was played, nothing sent"));
    // Stopped: the drill's score stays, free sending follows.
    QTest::mouseClick(send->StartButton(), Qt::LeftButton);
    rig.Run(100, 10);
    EXPECT_EQ(std::pair(send->PromptLabel()->text(), send->StartButton()->text()),
              std::pair(QString("Echo drill over: 0 % right."), QString("&Start")));
    // Stopped before an answer: nothing to score, free sending's own prompt.
    QTest::mouseClick(send->StartButton(), Qt::LeftButton);
    QTest::mouseClick(send->StartButton(), Qt::LeftButton);
    EXPECT_EQ(send->PromptLabel()->text(), "Send anything; a pause or Enter ends the line.");
    send->reject();
    // The main window keeps the spell in its history.
    History history(dir.filePath("history.sqlite"));
    ASSERT_TRUE(history.OpenToRead());
    const std::vector<SendingRecord> records = history.Sendings();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::tuple(records[0].kind, records[0].items.size(), records[0].AccuracyPercent()),
              std::tuple(SendingKind::Echo, 1u, 0.0));
    EXPECT_TRUE(QStringList({"k", "m"}).contains(records[0].items[0].expected));  // the first two
}

}  // namespace
}  // namespace lumbrel::test
