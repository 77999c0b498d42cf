// The desktop ends the program while a recorded session runs: a signal reaches the
// window through the self-pipe, and the window closes as Exit does without waiting.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>

#include "UiTestSupport.h"
#include "tests/TestSupport.h"
#include "ui/QuitSignals.h"

namespace lumbrel::test {
namespace {

TEST(DesktopClose, ASignalEndsTheSessionWithItsRecordingAndSavesAsExitDoes) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        QTemporaryDir dir;
        auto backend = std::make_shared<RecordingBackend>();
        SettingsStore store(backend);
        store.Write(keys::Pause, 0);
        WindowRig rig(store);
        rig.window->show();
        rig.prompts.audioChoice = {dir.filePath("take"), 0};
        rig.window->RecordAudioAction()->trigger();
        ASSERT_TRUE(rig.window->trainer().Recorder().Recording());
        rig.window->trainer().Start();
        rig.Run(3000);
        ASSERT_TRUE(rig.window->trainer().SessionActive());

        QuitSignals quit;
        ASSERT_TRUE(quit.Installed());
        QObject::connect(&quit, &QuitSignals::Requested, rig.window.get(), &MainWindow::EndForDesktop);
        QSignalSpy closed(rig.window.get(), &MainWindow::Closed);
        backend->writes.clear();
        ASSERT_EQ(::raise(signal), 0);
        ProcessEvents();

        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(rig.window->trainer().SessionActive());
        EXPECT_FALSE(rig.window->trainer().Recorder().Armed());
        EXPECT_FALSE(rig.audio.IsOpen());
        EXPECT_TRUE(backend->writes.contains("FormState/Saved"));
        EXPECT_TRUE(backend->writes.contains("Setup/Letters"));
        const QByteArray bytes = ReadAll(dir.filePath("take.wav"));
        ASSERT_GT(bytes.size(), 46 + 176400);
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 42),
                  static_cast<quint32>(bytes.size() - 46));
        const QString sent = rig.window->trainer().Sent().Text().trimmed();
        EXPECT_FALSE(sent.isEmpty());
        EXPECT_EQ(QString::fromUtf8(ReadAll(dir.filePath("take.txt"))).trimmed(), sent);
        EXPECT_TRUE(rig.prompts.messages.empty());
    }
}

}  // namespace
}  // namespace lumbrel::test
