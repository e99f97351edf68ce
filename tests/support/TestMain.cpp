// Test entry point for tests without a QApplication.
#include "tests/support/OwnRegistry.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
