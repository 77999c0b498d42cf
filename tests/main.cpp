// One application object for the whole test binary; no display is needed.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "tests/PrivateHome.h"

int main(int argc, char** argv) {
    lumbrel::test::UsePrivateHome();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Lumbrel Tests");
    QCoreApplication::setApplicationName("lumbrel-tests");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
