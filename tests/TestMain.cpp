// The main of the test programs that need no application object of their own.
#include <gtest/gtest.h>

#include "tests/PrivateHome.h"

int main(int argc, char** argv) {
    lumbrel::test::UsePrivateHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
