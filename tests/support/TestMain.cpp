// Test entry point for tests without a QApplication.
#include "tests/support/OwnRegistry.h"
#include "tests/support/SkippedExitStatus.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    ::testing::InitGoogleTest(&argc, argv);
    return SkippedExitStatus(RUN_ALL_TESTS());
}
