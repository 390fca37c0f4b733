#include <gtest/gtest.h>

#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

TEST(StartupE2E, Placeholder) { EXPECT_FALSE(BinDir().empty()); }

}  // namespace
}  // namespace velmok::testing
