// The Windows programs are linked for a wide entry point (-municode), so
// GoogleTest's own main() is never called: the tests start from wmain.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
