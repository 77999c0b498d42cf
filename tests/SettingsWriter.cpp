// Saves the settings file over and over until it is killed: each round writes every
// value with the round's number in it, then syncs. The settings crash test kills this
// program at random moments and then reads what was left on disk.
//
//   lumbrel-settings-writer FILE
//
// Prints "ready" once the first round is on disk.
#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumbrel-settings-writer FILE\n");
        return 2;
    }
    lumbrel::SettingsStore store = lumbrel::SettingsStore::File(QString::fromLocal8Bit(argv[1]));
    constexpr int kValues = 400;
    // Start past any round an earlier (killed) writer may have left, so every round
    // on disk is told apart from the one before.
    int round = store.ReadInteger(QStringLiteral("Round"), QStringLiteral("Number"), 0) + 1;
    for (bool first = true;; first = false, ++round) {
        store.WriteInteger(QStringLiteral("Round"), QStringLiteral("Number"), round);
        for (int i = 0; i < kValues; ++i) {
            store.WriteInteger(QStringLiteral("Numbers"), QStringLiteral("N%1").arg(i), round * 1000 + i);
            store.WriteString(QStringLiteral("Texts"), QStringLiteral("T%1").arg(i),
                              QStringLiteral("round %1 value %2 ").arg(round).arg(i).repeated(4));
        }
        store.Sync();
        if (!store.Problem().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(store.Problem()));
            return 1;
        }
        if (first) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
