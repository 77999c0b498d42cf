// One application object for the whole test binary, offscreen: no display is needed.
// Standard paths point at Qt's test folders, so nothing touches the user's data.
#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>
#include <gtest/gtest.h>

#include "tests/PrivateHome.h"
#include "ui/Application.h"

namespace lumbrel::test {
// A second program on a history (HistorySharingTest.cpp).
int HistoryHelper(const QStringList& args);
}  // namespace lumbrel::test

int main(int argc, char** argv) {
    if (argc > 1 && QByteArrayView(argv[1]) == "--history-helper") {
        QCoreApplication app(argc, argv);
        return lumbrel::test::HistoryHelper(QCoreApplication::arguments().mid(2));
    }
    lumbrel::test::UsePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    lumbrel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
