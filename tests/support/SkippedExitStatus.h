#pragma once
// What a GoogleTest program tells CTest when some of its tests could not run here.

#include <gtest/gtest.h>

/// The exit status for a test program whose RUN_ALL_TESTS returned `result`: 77 when no test
/// failed but some skipped (GTEST_SKIP), which CTest reports as skipped (SKIP_RETURN_CODE),
/// so that a test that cannot run never counts as passed; otherwise `result`.
inline int SkippedExitStatus(int result) {
    constexpr int kSkipped = 77;
    if (result == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        return kSkipped;
    }
    return result;
}
