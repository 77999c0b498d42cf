// What the window tells about a settings file that could not be read whole, or not
// saved at exit: once each, and the trainer works on.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "settings/SettingsFile.h"
#include "UiTestSupport.h"
#include "tests/TestSupport.h"
#include "ui/Main.h"

namespace lumbrel::test {
namespace {

TEST(SettingsFileWindow, ADamagedFileIsToldOnceAtStartAndTheTrainerWorks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    // Damage, keys in another case, values that are not numbers.
    WriteAll(path,
             "[Setup]\nPitch=820\n\x7F\x45LF\x02\x01\x01\nSignal Level=7\nsignal level=3\n"
             "[setup]\nletters=12 # twelve\nSpeed=3O\n");
    WindowRig rig{SettingsStore::File(path)};
    rig.window->show();
    ProcessEvents();
    ASSERT_EQ(rig.prompts.messages.size(), 1u);
    EXPECT_EQ(rig.prompts.messages[0].caption, QStringLiteral("Settings"));
    EXPECT_TRUE(rig.prompts.messages[0].text.contains(path + QStringLiteral(".damaged")))
        << qPrintable(rig.prompts.messages[0].text);
    EXPECT_TRUE(
        rig.prompts.messages[0].text.contains(QStringLiteral("\"Letters=12 # twelve\", \"Speed=3O\"")));
    EXPECT_EQ(rig.window->Controls().Value(ControlId::PitchSpinner), 820);
    EXPECT_EQ(rig.window->Controls().Value(ControlId::SignalRadioGroup), 3);

    // A session starts, plays and ends.
    rig.store.Write(keys::Pause, 0);
    rig.window->trainer().Start();
    rig.Run(2000);
    EXPECT_TRUE(rig.window->trainer().SessionActive());
    EXPECT_GT(rig.audio.QueuedCount(), 0u);
    rig.window->trainer().Stop();
    rig.Run(20'000);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    EXPECT_EQ(rig.prompts.messages.size(), 1u);

    EXPECT_TRUE(rig.window->close());  // saved as numbers, under the usual spelling only
    const QByteArray saved = ReadAll(path);
    for (const char* line : {"\nLetters=2\n", "\nSpeed=2\n", "\nSignal Level=3\n"})
        EXPECT_TRUE(saved.contains(line)) << line << saved.constData();
    EXPECT_FALSE(saved.contains("signal level") || saved.contains("[setup]")) << saved.constData();
}

TEST(SettingsFileWindow, SettingsThatCannotBeSavedAtExitAreToldAfterTheSave) {
    QTemporaryDir dir;
    WriteAll(dir.filePath(QStringLiteral("blocked")), "a file where the folder should be");
    const QString path = dir.filePath(QStringLiteral("blocked/Lumbrel.conf"));
    WindowRig rig{SettingsStore::File(path)};
    rig.window->show();
    ProcessEvents();
    EXPECT_TRUE(rig.prompts.messages.empty());
    QSignalSpy closed(rig.window.get(), &MainWindow::Closed);
    rig.window->close();
    ProcessEvents();
    EXPECT_EQ(closed.count(), 1);
    ASSERT_EQ(rig.prompts.errors.size(), 1);
    EXPECT_EQ(rig.prompts.errors[0], QStringLiteral("Your settings could not be saved: %1 cannot be written.")
                                         .arg(QDir::toNativeSeparators(path)));
}

}  // namespace
}  // namespace lumbrel::test
