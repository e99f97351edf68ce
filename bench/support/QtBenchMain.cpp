// Benchmark entry point for benchmarks that need a QApplication.
#include "tests/support/OwnRegistry.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    UseOwnRegistryUnlessSet();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
