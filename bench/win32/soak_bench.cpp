// A long night, shortened: the real VELMOK.exe prints 50 documents through the simulator at the
// program's real pauses, and after every document the program's USER and GDI objects and its
// private bytes are read. The figure is the growth per document from the first document (the
// baseline) to the last; a program that keeps something per document shows it here long before a
// night of thousands exhausts the system.
//
//   soak_bench.exe [documents]     (50 unless given)

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "bench/win32/process_objects.h"
#include "e2e/velmok_app.h"
#include "resource.h"
#include "support/win32_test_support.h"

namespace {

using namespace velmok::testing;
using velmok::bench::ObjectsOf;
using velmok::bench::ProcessObjects;

void Cleanup() {
  KillProcessesNamed(L"VELMOK.exe");
  KillProcessesNamed(L"clw4sim.exe");
  ClearVelmokSettings();
}

// The growth per document from the first document (the baseline) to the last, and over the last
// four fifths of the night alone, when the program's first-time work (caches, fonts) is done.
void Growth(const char* what, const std::vector<double>& values, const char* unit) {
  const std::size_t n = values.size();
  const std::size_t settled = n / 5;
  const double perDocument = (values.back() - values.front()) / static_cast<double>(n - 1);
  const double settledPerDocument = (values.back() - values[settled]) / static_cast<double>(n - 1 - settled);
  std::printf("%-44s %+9.2f %-3s per document   baseline first document %9.0f %-3s   last %9.0f %-3s   "
              "documents %zu-%zu: %+.2f per document   target 0\n",
              what, perDocument, unit, values.front(), unit, values.back(), unit, settled + 1, n, settledPerDocument);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int documents = argc > 1 ? std::max(2, _wtoi(argv[1])) : 50;
  Cleanup();
  TempDir dir;
  MakeFolder(dir / L"app");
  MakeFolder(dir / L"docs");
  for (int i = 1; i <= documents; ++i)
    WriteTextFile(dir / (L"docs\\文書" + std::to_wstring(1000 + i).substr(1) + L".cwj"), "doc");
  const std::wstring journal = dir / L"printed.txt";
  const std::map<std::wstring, std::wstring> knobs = {
      {L"CLW4SIM_JOURNAL", journal},       {L"CLW4SIM_OPEN_DELAY_MS", L"200"}, {L"CLW4SIM_DIALOG_DELAY_MS", L"50"},
      {L"CLW4SIM_PRINT_MS", L"300"},       {L"CLW4SIM_CLOSE_DELAY_MS", L"50"}, {L"CLW4SIM_QUIT_DELAY_MS", L"0"}};
  VelmokApp app(dir / L"app");
  app.Start(L"\"" + (dir / L"docs") + L"\"", knobs);
  HWND main = app.WaitMainWindow();
  if (!main) return 1;
  const ProcessObjects before = ObjectsOf(app.Proc().Handle());

  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  const auto start = std::chrono::steady_clock::now();
  std::vector<ProcessObjects> after;  // after each document
  HWND box = nullptr;
  WaitUntil(
      [&] {
        const std::size_t printed = ReadLines(journal).size();
        while (after.size() < printed) after.push_back(ObjectsOf(app.Proc().Handle()));
        box = FindTopLevel(L"#32770", kAppTitle);
        return box != nullptr;
      },
      std::chrono::minutes(30));
  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
  if (box) PressMessageBoxOk(box);
  const ProcessObjects end = ObjectsOf(app.Proc().Handle());
  app.Close();
  Cleanup();

  std::printf("soak under Wine: %d documents printed of %d, %.1f minutes at the real pauses\n",
              static_cast<int>(after.size()), documents, minutes);
  if (static_cast<int>(after.size()) != documents) return 1;
  const ProcessObjects& first = after.front();
  std::printf("  %-10s %10s %10s %14s\n", "document", "USER", "GDI", "private bytes");
  std::printf("  %-10s %10zu %10zu %14zu\n", "before", before.user, before.gdi, before.privateBytes);
  for (std::size_t i = 0; i < after.size(); ++i)
    if (i == 0 || (i + 1) % 10 == 0 || i + 1 == after.size())
      std::printf("  %-10zu %10zu %10zu %14zu\n", i + 1, after[i].user, after[i].gdi, after[i].privateBytes);
  std::printf("  %-10s %10zu %10zu %14zu\n", "after", end.user, end.gdi, end.privateBytes);
  std::vector<double> user, gdi, privateKiB;
  for (const ProcessObjects& o : after) {
    user.push_back(static_cast<double>(o.user));
    gdi.push_back(static_cast<double>(o.gdi));
    privateKiB.push_back(static_cast<double>(o.privateBytes) / 1024);
  }
  Growth(first.userAreWindows ? "USER objects (Wine: the program's windows)" : "USER objects (GetGuiResources)", user,
         "");
  Growth(first.gdiFromTable ? "GDI objects (Wine: its GDI handle table)" : "GDI objects (GetGuiResources)", gdi, "");
  Growth("private bytes", privateKiB, "KiB");
  return 0;
}
