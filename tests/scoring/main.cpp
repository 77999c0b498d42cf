// One application object for the whole test binary, offscreen: no display is needed.
// Standard paths point at Qt's test folders, so nothing touches the user's data.
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "tests/PrivateHome.h"
#include "ui/Application.h"

int main(int argc, char** argv)
{
    lumbrel::test::UsePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    lumbrel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
