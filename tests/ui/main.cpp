// One QApplication for the whole test binary, offscreen: no display is needed.
#include <gtest/gtest.h>

#include "tests/PrivateHome.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
    lumbrel::test::UsePrivateHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    lumbrel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
