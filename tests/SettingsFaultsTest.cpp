// The settings file under faults: damaged, unreadable, not writable at exit, and the
// program killed while saving. Whatever happens, no value a learner saved is lost
// without a word, and the file on disk is always one whole save.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "tests/TestSupport.h"

namespace lumbrel {
namespace {

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

TEST(SettingsFaults, ADamagedFileIsKeptAsideBeforeTheFirstSaveAndToldOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    // A file cut short and hand-edited: two lines make no sense.
    const QByteArray damaged =
        "[Setup]\nPitch=640\nLetters 12\nFont Name=\"Courier\"\n[FormState\nSpeed=3\nDela";
    test::WriteAll(path, damaged);
    {
        SettingsStore store = SettingsStore::File(path);
        EXPECT_EQ(store.Read(keys::Pitch), 640);
        EXPECT_EQ(store.Read(keys::FontName), QStringLiteral("Courier"));
        EXPECT_EQ(store.Read(keys::Letters), 2);  // left at its default
        const QString note = store.OpeningNote();
        EXPECT_TRUE(note.startsWith(QStringLiteral("3 lines of the settings file "))) << qPrintable(note);
        EXPECT_TRUE(note.endsWith(QStringLiteral("The file as it was is kept as %1.")
                                      .arg(QDir::toNativeSeparators(path + QStringLiteral(".damaged")))))
            << qPrintable(note);
        store.Write(keys::Letters, 7);
    }
    // The save wrote only what was read (and the change); the original is beside it.
    EXPECT_EQ(test::ReadAll(path + QStringLiteral(".damaged")), damaged);
    int unread = -1;
    const SettingsValueMap saved = ParseSettingsText(test::ReadAll(path), &unread);
    EXPECT_EQ(unread, 0);
    EXPECT_EQ(saved.value(QStringLiteral("Setup/Letters")), QVariant(7));

    // Once saved whole, the next start has nothing to say.
    EXPECT_TRUE(SettingsStore::File(path).OpeningNote().isEmpty());

    // The same damage again keeps the earlier copy and reuses it; a different one
    // gets a copy of its own.
    test::WriteAll(path, damaged);
    EXPECT_TRUE(SettingsStore::File(path).OpeningNote().contains(QStringLiteral(".damaged.")));
    const QByteArray other = "[Setup]\nnonsense\n";
    test::WriteAll(path, other);
    const QString note = SettingsStore::File(path).OpeningNote();
    EXPECT_TRUE(note.startsWith(QStringLiteral("One line of the settings file "))) << qPrintable(note);
    EXPECT_TRUE(note.contains(QStringLiteral(".damaged-2."))) << qPrintable(note);
    EXPECT_EQ(test::ReadAll(path + QStringLiteral(".damaged")), damaged);
    EXPECT_EQ(test::ReadAll(path + QStringLiteral(".damaged-2")), other);
}

TEST(SettingsFaults, BlankLinesCommentsAndAByteOrderMarkAreNotDamage) {
    int unread = -1;
    ParseSettingsText("\xEF\xBB\xBF# saved by hand\n\n; old comment\r\n[Setup]\r\nPitch=700\r\n\r\n",
                      &unread);
    EXPECT_EQ(unread, 0);
    ParseSettingsText("\x01\x02\x03\n=5\n[]\n", &unread);
    EXPECT_EQ(unread, 2);  // "[]" is an empty section name, not damage
    // Slashes at a key's ends are dropped as QSettings drops them, so the key is written
    // back as it reads; a key of slashes alone is no key.
    const SettingsValueMap map = ParseSettingsText("//=2\nPitch Text/=\"12\"\n[a/]\n/b//c=1\n", &unread);
    EXPECT_EQ(unread, 1);
    EXPECT_EQ(map.keys(), (QStringList{QStringLiteral("Pitch Text"), QStringLiteral("a/b/c")}));
    EXPECT_EQ(ParseSettingsText(FormatSettingsText(map), &unread), map);
    EXPECT_EQ(unread, 0);
}

TEST(SettingsFaults, AnUnreadableFileGivesDefaultsOneNoteAndIsLeftAsItIs) {
    QTemporaryDir dir;
    // A folder where the file should be: unreadable whoever runs the test.
    const QString folder = dir.filePath(QStringLiteral("Lumbrel.conf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        SettingsStore store = SettingsStore::File(folder);
        EXPECT_EQ(store.Read(keys::Pitch), 750);
        EXPECT_EQ(store.OpeningNote(),
                  QStringLiteral("The settings file %1 cannot be read. Lumbrel starts with its defaults and "
                                 "leaves that file as it is.")
                      .arg(QDir::toNativeSeparators(folder)));
        store.Write(keys::Pitch, 600);
        EXPECT_EQ(store.Read(keys::Pitch), 600);  // kept for this run
        store.Sync();
        EXPECT_TRUE(store.Problem().isEmpty());  // already told at start
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());

    if (RunningAsRoot())
        return;  // permissions do not stop root
    const QString path = dir.filePath(QStringLiteral("locked.conf"));
    test::WriteAll(path, "[Setup]\nPitch=640\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    {
        SettingsStore store = SettingsStore::File(path);
        EXPECT_EQ(store.Read(keys::Pitch), 750);
        EXPECT_FALSE(store.OpeningNote().isEmpty());
        store.Write(keys::Pitch, 600);
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(test::ReadAll(path), QByteArray("[Setup]\nPitch=640\n"));
}

TEST(SettingsFaults, AFileThatCannotBeWrittenAtExitIsToldAndKeepsItsOldContent) {
    QTemporaryDir dir;
    // A folder that cannot be made: a plain file is in the way.
    test::WriteAll(dir.filePath(QStringLiteral("Zelph Software")), "not a folder");
    const QString unmakeable = dir.filePath(QStringLiteral("Zelph Software/Lumbrel.conf"));
    {
        SettingsStore store = SettingsStore::File(unmakeable);
        EXPECT_TRUE(store.OpeningNote().isEmpty());  // nothing there yet: nothing to say
        store.Write(keys::Pitch, 600);
        store.Sync();
        EXPECT_EQ(store.Problem(), QStringLiteral("Your settings could not be saved: %1 cannot be written.")
                                       .arg(QDir::toNativeSeparators(unmakeable)));
    }
    EXPECT_EQ(test::ReadAll(dir.filePath(QStringLiteral("Zelph Software"))), QByteArray("not a folder"));

    if (RunningAsRoot())
        return;
    // A read-only file in a read-only folder: read fine, not written at exit.
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Lumbrel.conf");
    test::WriteAll(path, "[Setup]\nPitch=640\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        SettingsStore store = SettingsStore::File(path);
        EXPECT_EQ(store.Read(keys::Pitch), 640);
        store.Write(keys::Pitch, 600);
        store.Sync();
        EXPECT_FALSE(store.Problem().isEmpty());
    }
    ASSERT_TRUE(QFile::setPermissions(
        folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    EXPECT_EQ(test::ReadAll(path), QByteArray("[Setup]\nPitch=640\n"));
}

TEST(SettingsFaults, ALockFileLeftByAKilledSaveIsTakenOverButAHeldOneIsNot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    const QString lock = path + QStringLiteral(".lock");
    test::WriteAll(path, "[Setup]\nPitch=640\n");
    // Killed between creating the lock and writing its owner: an empty lock that
    // QSettings would honour for 30 s at every read and save.
    test::WriteAll(lock, QByteArray());
    QElapsedTimer timer;
    timer.start();
    {
        SettingsStore store = SettingsStore::File(path);
        EXPECT_EQ(store.Read(keys::Pitch), 640);
        store.Write(keys::Pitch, 600);
        store.Sync();
        EXPECT_TRUE(store.Problem().isEmpty());
    }
    EXPECT_EQ(SettingsStore::File(path).Read(keys::Pitch), 600);
    EXPECT_LT(timer.elapsed(), 15'000) << "waited for the abandoned lock";  // QSettings alone waits 30 s

    // A lock some running program holds is left to it.
    test::WriteAll(lock, "12345\nsomeone\nhost\n");
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(MakeFileSettingsBackend(path) != nullptr, true);
    EXPECT_TRUE(QFile::exists(lock));
    ::close(fd);
    QFile::remove(lock);
}

// Every value the writer saves carries its round number; a file mixing two rounds
// (or cut short) is what a non-atomic save would leave when killed.
int WholeRoundOnDisk(const QString& path) {
    int unread = 0;
    const SettingsValueMap map = ParseSettingsText(test::ReadAll(path), &unread);
    if (unread != 0)
        return -1;
    const int round = map.value(QStringLiteral("Round/Number"), -1).toInt();
    for (int i = 0; i < 400; ++i) {
        if (map.value(QStringLiteral("Numbers/N%1").arg(i)) != QVariant(round * 1000 + i))
            return -1;
        if (map.value(QStringLiteral("Texts/T%1").arg(i)) !=
            QVariant(QStringLiteral("round %1 value %2 ").arg(round).arg(i).repeated(4)))
            return -1;
    }
    return round;
}

TEST(SettingsFaults, KilledWhileSavingLeavesTheOldOrTheNewFileNeverAMix) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumbrel.conf"));
    QRandomGenerator random(20261209);
    int lastRound = 0;
    int roundsSeen = 0;
    constexpr int kKills = 40;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess writer;
        writer.start(QStringLiteral(LUMBREL_SETTINGS_WRITER_EXE), {path});
        ASSERT_TRUE(writer.waitForStarted(10'000));
        ASSERT_TRUE(writer.waitForReadyRead(20'000))
            << "the writer never saved: " << writer.readAllStandardError().constData();
        // Let it save a random number of times, then kill it without warning.
        QThread::usleep(random.bounded(1'000, 30'000));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(10'000));
        const int round = WholeRoundOnDisk(path);
        ASSERT_GT(round, 0) << "kill " << kill << " left a file that is not one whole save";
        EXPECT_GT(round, lastRound);  // the next writer's first save always landed
        roundsSeen += round - lastRound;
        lastRound = round;
    }
    std::printf("%d kills during %d saves of %lld bytes each\n", kKills, roundsSeen,
                static_cast<long long>(QFileInfo(path).size()));
}

}  // namespace
}  // namespace lumbrel
