// Test entry point for tests that need a QApplication.
#include "tests/support/OwnRegistry.h"
#include "tests/support/SkippedExitStatus.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return SkippedExitStatus(RUN_ALL_TESTS());
}
