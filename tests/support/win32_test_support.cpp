#include "support/win32_test_support.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <utility>

#include "platform/win32/wide.h"

namespace velmok::testing {

std::wstring W(std::string_view utf8) { return win32::Widen(utf8); }
std::string U8(std::wstring_view wide) { return win32::Narrow(wide); }

namespace {

int WindowsWideToUtf8(unsigned codePage, unsigned long flags, const wchar_t* text, int length, char* out, int outSize,
                      const char* defaultChar, int* usedDefault) {
  if (flags & ~static_cast<unsigned long>(WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (defaultChar || usedDefault) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WideCharToMultiByte(codePage, flags, text, length, out, outSize, nullptr, nullptr);
}

}  // namespace

win32::AnsiEncoding WindowsUtf8Encoding() { return {CP_UTF8, &WindowsWideToUtf8}; }

bool WaitUntil(const std::function<bool()>& condition, Millis timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

std::wstring BinDir() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L"\\/"));
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (process_) CloseHandle(process_);
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process::~Process() {
  if (process_) CloseHandle(process_);
}

namespace {

// The current environment with `changes` applied, as a CreateProcessW block.
std::wstring EnvironmentBlock(const std::map<std::wstring, std::wstring>& changes) {
  std::map<std::wstring, std::wstring> vars;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
    std::wstring entry(p);
    const auto eq = entry.find(L'=', 1);
    if (eq == std::wstring::npos) continue;
    vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  FreeEnvironmentStringsW(block);
  for (const auto& [k, v] : changes) vars[k] = v;
  std::wstring out;
  for (const auto& [k, v] : vars) {
    out += k + L"=" + v;
    out.push_back(L'\0');
  }
  out.push_back(L'\0');
  return out;
}

}  // namespace

Process Process::Launch(const std::wstring& exe, const std::wstring& args,
                        const std::map<std::wstring, std::wstring>& env, const std::wstring& workDir) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!args.empty()) commandLine += L" " + args;
  std::wstring envBlock = EnvironmentBlock(env);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  Process p;
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                     envBlock.data(), workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    p.process_ = pi.hProcess;
    p.id_ = pi.dwProcessId;
  }
  return p;
}

bool Process::WaitExit(Millis timeout) {
  if (!process_) return true;
  return WaitUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeout);
}

std::optional<DWORD> Process::ExitCode() const {
  DWORD code = 0;
  if (!process_ || !GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

void Process::Kill() {
  if (process_ && WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

bool InChildAtSystemDpi(UINT dpi) {
  const std::wstring marker = std::to_wstring(dpi);
  if (const wchar_t* child = _wgetenv(L"VELMOK_TEST_SYSTEM_DPI"); child && marker == child) {
    std::freopen("NUL", "w", stdout);  // the outcome goes to the report the test reads
    return true;
  }

  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::wstring name = W(std::string(test->test_suite_name()) + "." + test->name());
  constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
  DWORD before = 0;
  DWORD size = sizeof before;
  const bool hadValue = RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &before,
                                     &size) == ERROR_SUCCESS;
  const DWORD value = dpi;
  EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
  TempDir dir;
  const std::wstring report = dir / L"report.xml";
  Process child = Process::Launch(BinDir() + L"\\win32_tests.exe",
                                  L"--gtest_filter=" + name + L" --gtest_output=xml:\"" + report + L"\"",
                                  {{L"VELMOK_TEST_SYSTEM_DPI", marker}});
  const bool ended = child.WaitExit(120s);
  if (hadValue)
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &before, sizeof before);
  else
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
  EXPECT_TRUE(child.Valid()) << "the child could not be started";
  EXPECT_TRUE(ended) << "the child did not end";
  const std::string xml = ReadTextFile(report).value_or("(no report)");
  EXPECT_EQ(child.ExitCode(), std::optional<DWORD>(0)) << "at " << dpi << " dpi:\n" << xml;
  EXPECT_NE(xml.find("tests=\"1\""), std::string::npos) << "the child ran the test: " << xml;
  return false;
}

void KillProcessesNamed(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{sizeof entry};
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName.c_str()) != 0) continue;
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(h, 99);
      WaitForSingleObject(h, 5000);
      CloseHandle(h);
    }
  }
  CloseHandle(snapshot);
}

bool AnyProcessNamed(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  PROCESSENTRY32W entry{sizeof entry};
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found; ok = Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, exeName.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

namespace {

struct FindState {
  const std::wstring* className;
  const std::wstring* title;
  bool includeHidden;
  HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<FindState*>(lp);
  if (!s->includeHidden && !IsWindowVisible(hwnd)) return TRUE;
  if (!s->className->empty()) {
    wchar_t cls[256] = {};
    GetClassNameW(hwnd, cls, 256);
    if (*s->className != cls) return TRUE;
  }
  if (!s->title->empty()) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    if (*s->title != text) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindTopLevel(const std::wstring& className, const std::wstring& title, bool includeHidden) {
  FindState state{&className, &title, includeHidden, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND WaitForTopLevel(const std::wstring& className, const std::wstring& title, Millis timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(className, title)) != nullptr; }, timeout);
  return found;
}

bool WaitForNoTopLevel(const std::wstring& className, const std::wstring& title, Millis timeout) {
  return WaitUntil([&] { return FindTopLevel(className, title) == nullptr; }, timeout);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  struct State {
    DWORD pid;
    std::vector<HWND> out;
  } state{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<State*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid) s->out.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.out;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           5000, &copied))
    return {};
  text.resize(copied);
  return text;
}

HWND ChildByClass(HWND parent, const std::wstring& className, int index) {
  HWND child = nullptr;
  for (int i = 0; i <= index; ++i) {
    child = FindWindowExW(parent, child, className.c_str(), nullptr);
    if (!child) return nullptr;
  }
  return child;
}

HWND WaitForMessageBox(const std::wstring& title, Millis timeout) {
  return WaitForTopLevel(L"#32770", title, timeout);
}

std::wstring MessageBoxText(HWND box) {
  // The message text is the static control with the identifier 0xFFFF.
  if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
  return {};
}

bool MessageBoxHasIcon(HWND box) {
  bool found = false;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM lp) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
          *reinterpret_cast<bool*>(lp) = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void PressMessageBoxOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  std::wstring root(base);
  if (!root.empty() && root.back() == L'\\') root.pop_back();
  for (;;) {
    path_ = root + L"\\velmok-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { DeleteTree(path_); }

void WriteTextFile(const std::wstring& path, const std::string& utf8) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(h);
}

void MakeFolder(const std::wstring& path) { CreateDirectoryW(path.c_str(), nullptr); }

std::optional<std::string> ReadTextFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
  CloseHandle(h);
  return out;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
  std::vector<std::wstring> lines;
  const auto text = ReadTextFile(path);
  if (!text) return lines;
  std::size_t start = 0;
  while (start < text->size()) {
    auto end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(W(line));
    start = end + 1;
  }
  return lines;
}

bool SetFileTimesLocal(const std::wstring& path, const SYSTEMTIME& local) {
  SYSTEMTIME utc{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) return false;
  FILETIME ft{};
  if (!SystemTimeToFileTime(&utc, &ft)) return false;
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = SetFileTime(h, &ft, &ft, &ft);
  CloseHandle(h);
  return ok != FALSE;
}

void DeleteTree(const std::wstring& given) {
  // As the names stand: a folder "Data." beside "Data" is itself.
  const std::wstring path = given.size() > 2 && given[1] == L':' ? L"\\\\?\\" + given : given;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        DeleteTree(child);
      else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(child.c_str());
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

win32::ScopedHandle MutexOutOfReach(const std::wstring& name) {
  SECURITY_DESCRIPTOR descriptor{};
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  ACL empty{};
  InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  return win32::ScopedHandle(CreateMutexW(&attributes, FALSE, name.c_str()));
}

}  // namespace velmok::testing
