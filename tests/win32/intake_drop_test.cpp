// Drops onto lvwPrintFiles through the IDropTarget that the window registers for it, and the busy
// state of the window while an intake runs.

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

// Data offered by a drag: one HGLOBAL in one clipboard format.
class DataObject final : public IDataObject {
 public:
  DataObject(CLIPFORMAT format, std::vector<unsigned char> bytes) : format_(format), bytes_(std::move(bytes)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }  // lives on the stack

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
    std::copy(bytes_.begin(), bytes_.end(), static_cast<unsigned char*>(GlobalLock(block)));
    GlobalUnlock(block);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  CLIPFORMAT format_;
  std::vector<unsigned char> bytes_;
  long refs_ = 1;
};

std::vector<unsigned char> FileList(const std::vector<std::wstring>& paths) {
  std::vector<unsigned char> bytes(sizeof(DROPFILES));
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(bytes.data(), &header, sizeof header);
  for (const auto& p : paths) {
    const auto* raw = reinterpret_cast<const unsigned char*>(p.c_str());
    bytes.insert(bytes.end(), raw, raw + (p.size() + 1) * sizeof(wchar_t));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

std::vector<unsigned char> Text(const std::wstring& text) {
  const auto* raw = reinterpret_cast<const unsigned char*>(text.c_str());
  return {raw, raw + (text.size() + 1) * sizeof(wchar_t)};
}

class ListDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    // The target registered on the list view itself.
    target_ = static_cast<IDropTarget*>(GetPropW(window_.ListView(), L"OleDropTargetInterface"));
    ASSERT_TRUE(target_) << "no drop target registered on lvwPrintFiles";
  }

  // The drag enters the list, moves over it and is dropped; returns the effects reported.
  struct Effects {
    DWORD enter, over, drop;
  };
  Effects DragAndDrop(IDataObject* data) {
    RECT r{};
    GetWindowRect(window_.ListView(), &r);
    const POINTL at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Effects e{DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, 0, 0};
    EXPECT_EQ(target_->DragEnter(data, MK_LBUTTON, at, &e.enter), S_OK);
    e.over = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target_->DragOver(MK_LBUTTON, at, &e.over), S_OK);
    e.drop = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target_->Drop(data, 0, at, &e.drop), S_OK);
    window_.Pump();
    return e;
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
  IDropTarget* target_ = nullptr;
};

TEST_F(ListDrop, FileListsAreCopiedAnythingElseIsRefused) {
  WriteTextFile(dir_ / L"見積書.cwj", "document");
  struct Case {
    const char* what;
    CLIPFORMAT format;
    std::vector<unsigned char> bytes;
    DWORD effect;
    int entries;
  };
  const Case cases[] = {
      {"text", CF_UNICODETEXT, Text(dir_ / L"見積書.cwj"), DROPEFFECT_NONE, 0},
      {"a file list", CF_HDROP, FileList({dir_ / L"見積書.cwj"}), DROPEFFECT_COPY, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataObject data(c.format, c.bytes);
    const Effects e = DragAndDrop(&data);
    EXPECT_EQ(e.enter, c.effect);
    EXPECT_EQ(e.over, c.effect);
    EXPECT_EQ(e.drop, c.effect);
    EXPECT_EQ(window_.ItemCount(), c.entries);
  }
  // Leaving without a drop changes nothing.
  DataObject data(CF_HDROP, FileList({dir_ / L"見積書.cwj"}));
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target_->DragEnter(&data, MK_LBUTTON, POINTL{0, 0}, &effect), S_OK);
  EXPECT_EQ(target_->DragLeave(), S_OK);
  EXPECT_EQ(window_.ItemCount(), 1);
}

// The drop lets the dragging program go before the walk: the names are copied, and the list takes
// them in when the window handles its messages next. The data object may be gone by then.
TEST_F(ListDrop, TheDropReturnsAtOnceAndTheWalkFollows) {
  MakeFolder(dir_ / L"棚");
  for (const wchar_t* name : {L"一.cwj", L"二.cwj"}) WriteTextFile(dir_ / (std::wstring(L"棚\\") + name), "document");
  RECT r{};
  GetWindowRect(window_.ListView(), &r);
  const POINTL at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  {
    DataObject data(CF_HDROP, FileList({dir_ / L"棚"}));
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target_->DragEnter(&data, MK_LBUTTON, at, &effect), S_OK);
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target_->Drop(&data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(window_.ItemCount(), 0) << "nothing walked inside Drop";
    EXPECT_TRUE(IsWindowEnabled(window_.Main()));
  }
  window_.Pump();
  EXPECT_EQ(window_.ItemCount(), 2);
  EXPECT_EQ(window_.StatusText(), L"2 個のファイルをリストに追加しました。");
}

// Each dropped path is an intake of its own: the status line reports the last path alone.
TEST_F(ListDrop, StatusReportsTheLastPathOfTheDrop) {
  MakeFolder(dir_ / L"三つ");
  MakeFolder(dir_ / L"なし");
  for (const wchar_t* name : {L"a.cwj", L"b.cwj", L"c.cwj"}) WriteTextFile(dir_ / (std::wstring(L"三つ\\") + name), "d");
  WriteTextFile(dir_ / L"なし\\memo.txt", "not a document");
  WriteTextFile(dir_ / L"x.cwj", "d");
  WriteTextFile(dir_ / L"y.cwj", "d");
  struct Case {
    const char* what;
    std::vector<std::wstring> paths;
    int entries;
    const wchar_t* status;
  };
  const Case cases[] = {
      {"a folder of three, then a folder of none", {dir_ / L"三つ", dir_ / L"なし"}, 3,
       L"印刷可能なファイルが見つかりませんでした。"},
      {"two new documents", {dir_ / L"x.cwj", dir_ / L"y.cwj"}, 5, L"1 個のファイルをリストに追加しました。"},
      {"a listed document and a missing one", {dir_ / L"x.cwj", dir_ / L"gone.cwj"}, 5,
       L"印刷可能なファイルが見つかりませんでした。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataObject data(CF_HDROP, FileList(c.paths));
    DragAndDrop(&data);
    EXPECT_EQ(window_.ItemCount(), c.entries);
    EXPECT_EQ(window_.StatusText(), c.status);
    EXPECT_TRUE(window_.MenuBarEnabled(IDM_PRINT_ALLPRINT)) << "the intake recomputes the states";
  }
}

TEST_F(ListDrop, MalformedFileListsAddNothing) {
  WriteTextFile(dir_ / L"a.cwj", "d");
  const std::vector<unsigned char> good = FileList({dir_ / L"a.cwj"});
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
  };
  auto withOffset = [&](DWORD offset) {
    auto b = good;
    std::memcpy(b.data(), &offset, sizeof offset);
    return b;
  };
  const Case cases[] = {
      {"shorter than its header", std::vector<unsigned char>(good.begin(), good.begin() + 10)},
      {"names starting past the end", withOffset(static_cast<DWORD>(good.size() + 100))},
      {"names starting inside the header", withOffset(4)},
      {"no final empty name", std::vector<unsigned char>(good.begin(), good.end() - 2)},
      {"cut inside the name", std::vector<unsigned char>(good.begin(), good.begin() + sizeof(DROPFILES) + 6)},
  };
  window_.Add(dir_ / L"missing.cwj");
  const std::wstring status = window_.StatusText();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataObject data(CF_HDROP, c.bytes);
    const Effects e = DragAndDrop(&data);
    EXPECT_EQ(e.drop, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(window_.ItemCount(), 0);
    EXPECT_EQ(window_.StatusText(), status);
  }
}

// --- the busy state ---------------------------------------------------------------------------------

// The real file system, watching the window each time the walk lists a folder.
class WatchingFileSystem final : public platform::FileSystem {
 public:
  HWND window = nullptr;
  HWND status = nullptr;
  struct Seen {
    bool enabled;
    bool waitCursor;
    std::wstring status;
  };
  std::vector<Seen> seen;

  platform::PathKind Kind(std::string_view path) override { return real_.Kind(path); }
  std::string FullPath(std::string_view path) override { return real_.FullPath(path); }
  Description Describe(std::string_view path) override {
    Look();
    return real_.Describe(path);
  }
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override {
    Look();
    return real_.ListFolder(folder, listing);
  }
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder,
                                                   std::optional<std::uint64_t> knownVolume) override {
    return real_.IdentifyFolder(folder, knownVolume);
  }
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t ticks) override { return real_.ToLocalTime(ticks); }

 private:
  void Look() {
    seen.push_back({IsWindowEnabled(window) != FALSE, GetCursor() == LoadCursorW(nullptr, IDC_WAIT), WindowText(status)});
  }
  win32::Win32FileSystem real_;
};

TEST(IntakeBusy, WindowIsDisabledWithTheHourglassWhileTheFoldersAreWalked) {
  TempDir dir;
  std::wstring folder = dir.Path();
  for (int depth = 0; depth < 5; ++depth) {
    folder += L"\\階層" + std::to_wstring(depth);
    MakeFolder(folder);
    WriteTextFile(folder + L"\\文書.cwj", "d");
  }
  WatchingFileSystem files;
  ScratchSettings settings;
  HarnessOptions options;
  options.files = &files;
  MainWindowHarness w(settings, options);
  files.window = w.Main();
  files.status = w.StatusBar();
  ASSERT_TRUE(IsWindowEnabled(w.Main()));
  w.Add(dir.Path());
  EXPECT_EQ(w.ItemCount(), 5);
  ASSERT_EQ(files.seen.size(), 7u) << "what the path names, then each folder";
  for (std::size_t i = 0; i < files.seen.size(); ++i) {
    const auto& s = files.seen[i];
    SCOPED_TRACE(i);
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(s.waitCursor);
    // A folder of the walk is shown (folders entered in quick succession may be left out).
    if (i > 0) EXPECT_EQ(s.status.rfind(L"検索中: " + dir.Path(), 0), 0u) << U8(s.status);
  }
  EXPECT_EQ(files.seen[1].status, L"検索中: " + dir.Path()) << "the first folder at once";
  EXPECT_TRUE(IsWindowEnabled(w.Main())) << "enabled again";
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(GetFocus(), w.ListView());
  EXPECT_EQ(w.StatusText(), L"5 個のファイルをリストに追加しました。");

  // A file list: busy from its first name to its last, once.
  files.seen.clear();
  w.OwnClipboard().offers = true;
  w.OwnClipboard().files = std::vector<std::string>{};
  for (int i = 0; i < 3; ++i) {
    WriteTextFile(dir / (L"一覧" + std::to_wstring(i) + L".cwj"), "d");
    w.OwnClipboard().files->push_back(U8(dir / (L"一覧" + std::to_wstring(i) + L".cwj")));
  }
  w.Model().Clear();
  w.Frm().ListChanged();
  ASSERT_TRUE(w.PumpUntil([&] { return w.MenuBarEnabled(IDM_EDIT_PASTE); }, 2s));
  w.Command(IDM_EDIT_PASTE);
  EXPECT_EQ(w.ItemCount(), 3);
  ASSERT_EQ(files.seen.size(), 3u);
  for (const auto& s : files.seen) {
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(s.waitCursor);
  }
  EXPECT_TRUE(IsWindowEnabled(w.Main()));
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
}

}  // namespace
}  // namespace velmok::testing
