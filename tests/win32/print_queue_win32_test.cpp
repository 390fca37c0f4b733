#include "printing/win32/print_queue_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace velmok::win32 {
namespace {

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

TEST(Win32PrintQueue, TheSpoolerComesFromTheSystemFolderWhenTheQueueIsFirstLookedAt) {
  Win32PrintQueue queue;
  EXPECT_GE(GetWaitingJobCount(queue), 0);  // with or without a default printer
  HMODULE spooler = GetModuleHandleW(L"winspool.drv");
  ASSERT_TRUE(spooler) << "the spooler was not loaded";
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(spooler, path, MAX_PATH), 0u);
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  EXPECT_EQ(Lower(path), Lower(std::wstring(system) + L"\\winspool.drv"));
}

}  // namespace
}  // namespace velmok::win32
