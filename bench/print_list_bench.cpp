// The print list model at 100,000 entries: sorting, selection, the command states, deleting half
// of the list, memory per entry. Native, optimised build.

#include <malloc.h>

#include <memory>
#include <random>
#include <vector>

#include "bench/bench_fakes.h"
#include "bench/bench_util.h"
#include "intake/list_editing.h"
#include "intake/print_list.h"
#include "mainwindow/command_state.h"
#include "mainwindow/main_view.h"

namespace {

using velmok::PrintList;
using velmok::PrintListEntry;
using velmok::bench::BestMs;
using velmok::bench::Report;

constexpr int kEntries = 100000;

struct Doc {
  std::string key;
  std::size_t nameLength;
  std::string modified;
  std::string size;
};

std::vector<Doc> MakeDocs() {
  std::mt19937 random(42);
  std::vector<Doc> docs;
  docs.reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    const std::string name = "文書_" + std::to_string(random() % 1000000) + "_" + std::to_string(i) + ".cwj";
    const std::string folder = "\\\\fileserver\\共有\\部署" + std::to_string(i % 37) + "\\" +
                               std::to_string(1990 + i % 35) + "年度\\フォルダ" + std::to_string(i / 100);
    char modified[32];
    std::snprintf(modified, sizeof modified, "%04d/%02d/%02d %02d:%02d", 1990 + static_cast<int>(random() % 36),
                  1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28),
                  static_cast<int>(random() % 24), static_cast<int>(random() % 60));
    docs.push_back({folder + "\\" + name, name.size(), modified, std::to_string(random() % 5000) + " KB"});
  }
  return docs;
}

void Fill(PrintList& list, const std::vector<Doc>& docs) {
  PrintList::Batch batch(list);
  for (const Doc& d : docs) list.Add(PrintListEntry(d.key, d.nameLength, d.modified, d.size));
}


}  // namespace

int main() {
  const std::vector<Doc> docs = MakeDocs();
  std::printf("print list model, %d entries\n", kEntries);

  // Memory: what the heap holds for the list, per entry.
  const std::size_t before = mallinfo2().uordblks;
  auto measured = std::make_unique<PrintList>();
  Fill(*measured, docs);
  const std::size_t after = mallinfo2().uordblks;
  std::size_t keyBytes = 0;
  for (const Doc& d : docs) keyBytes += d.key.size() + d.modified.size() + d.size.size();
  std::printf("%-44s %10.0f bytes  (texts themselves %.0f bytes)   target < 1024\n", "memory per entry",
              static_cast<double>(after - before) / kEntries, static_cast<double>(keyBytes) / kEntries);
  measured.reset();

  // Baseline for the sorts: the same names as plain strings, std::sort by bytes.
  std::vector<std::string> names;
  for (const Doc& d : docs) names.push_back(d.key.substr(d.key.size() - d.nameLength));
  std::vector<std::string> copy;
  const double baseSort = BestMs(5, [&] { copy = names; }, [&] { std::sort(copy.begin(), copy.end()); });

  PrintList list;
  const double add = BestMs(3, [&] { list.Clear(); }, [&] { Fill(list, docs); });
  Report("add 100,000 entries (one intake)", add, "std::sort of the names", baseSort, "-");
  for (int key = 0; key < 4; ++key) {
    static const char* const kColumns[] = {"name", "modified", "size", "folder"};
    const double ms = BestMs(5, nullptr, [&] { list.ChangeSortOrder(key); });
    Report(std::string("sort by ") + kColumns[key], ms, "std::sort of the names", baseSort, "< 300 ms");
  }

  std::vector<unsigned char> flags(kEntries);
  const double baseFill = BestMs(20, nullptr, [&] { std::fill(flags.begin(), flags.end(), 1); });
  const double selectAll = BestMs(20, [&] { list.SetAllSelected(false); }, [&] { velmok::SelectAllEntries(list); });
  Report("select all", selectAll, "filling 100,000 flags", baseFill, "< 50 ms");
  const double invert = BestMs(20, nullptr, [&] { velmok::InvertSelectedEntries(list); });
  Report("invert the selection", invert, "filling 100,000 flags", baseFill, "< 50 ms");

  velmok::bench::SilentView view;
  list.SetAllSelected(false);
  list.SetSelected(kEntries - 1, true);  // the worst case: the only mark at the end
  view.list = &list;
  const double refresh = BestMs(200, nullptr, [&] { view.RefreshMenus(); });
  const double call = BestMs(200, nullptr, [&] { view.SetEnabled(1, true); });
  Report("RefreshMenus", refresh, "one view call", call, "< 5 ms");

  std::vector<std::unique_ptr<int>> plain;
  const double baseErase = BestMs(
      5,
      [&] {
        plain.clear();
        for (int i = 0; i < kEntries; ++i) plain.push_back(std::make_unique<int>(i));
      },
      [&] { std::erase_if(plain, [](const auto& p) { return *p % 2 == 0; }); });
  const double remove = BestMs(
      5,
      [&] {
        list.Clear();
        Fill(list, docs);
        for (int i = 0; i < kEntries; i += 2) list.SetSelected(static_cast<std::size_t>(i), true);
      },
      [&] { velmok::DeleteSelectedEntries(list); });
  Report("delete 50,000 selected of 100,000", remove, "erase half of 100,000 pointers", baseErase, "< 500 ms");
  return 0;
}
