#include "win32/clw4sim_session.h"

#include <shellapi.h>

#include <cstdio>

#include "core/texts.h"
#include "platform/key_notation.h"

namespace velmok::testing {

namespace {

// Every knob, so that a test never inherits one from the environment it runs in.
constexpr const wchar_t* kAllKnobs[] = {
    L"CLW4SIM_JOURNAL",         L"CLW4SIM_KEYLOG",         L"CLW4SIM_THIEF_KEYLOG",   L"CLW4SIM_LOG",
    L"CLW4SIM_SPOOL_DIR",       L"CLW4SIM_START_DELAY_MS", L"CLW4SIM_OPEN_DELAY_MS",  L"CLW4SIM_DIALOG_DELAY_MS",
    L"CLW4SIM_PRINT_MS",        L"CLW4SIM_CLOSE_DELAY_MS", L"CLW4SIM_QUIT_DELAY_MS",  L"CLW4SIM_WARNING_AGAIN_MS",
    L"CLW4SIM_READONLY",        L"CLW4SIM_READONLY_REPEAT", L"CLW4SIM_MODIFIED",      L"CLW4SIM_CRASH_AT",
    L"CLW4SIM_HANG_AT",         L"CLW4SIM_NO_DIALOG",      L"CLW4SIM_STEAL_FOCUS",    L"CLW4SIM_SINGLE_INSTANCE",
    L"CLW4SIM_FOREGROUND_DELAY_MS",
};

constexpr const wchar_t* kTestProgId = L"Software\\Classes\\VelmokTest.Clw4Sim";
constexpr const wchar_t* kCwjKey = L"Software\\Classes\\.cwj";

std::wstring SimulatorPath() { return BinDir() + L"\\clw4sim.exe"; }

std::optional<std::wstring> EnvironmentValue(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
  return value;
}

bool SetDefaultValue(const std::wstring& key, const std::wstring& value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS)
    return false;
  win32::ScopedKey owned(raw);
  return RegSetValueExW(raw, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::vector<clw4sim::KeyRecord> ReadKeyJournal(const std::wstring& path) {
  std::vector<clw4sim::KeyRecord> records;
  for (const auto& line : ReadLines(path)) {
    if (const auto record = clw4sim::ParseKeyRecord(U8(line))) records.push_back(*record);
  }
  return records;
}

}  // namespace

std::wstring ClarisTitle(const std::wstring& documentName) {
  if (documentName.empty()) return W(texts::kClarisTitleNoDocument);
  return W(texts::kClarisTitleDocumentPrefix) + documentName + L"]";
}
std::wstring OpenTitle() { return W(texts::kOpenDialogTitle); }
std::wstring PrintTitle() { return W(texts::kPrintDialogTitle); }
std::wstring PrintingTitle() { return W(texts::kPrintingWindowTitle); }
std::wstring WarningTitle() { return W(texts::kWarningTitle); }

ScopedEnvironment::ScopedEnvironment(const std::map<std::wstring, std::wstring>& values) {
  for (const auto& [name, value] : values) {
    saved_[name] = EnvironmentValue(name);
    SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : saved_) SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
}

ScopedCwjAssociation::ScopedCwjAssociation() {
  SetDefaultValue(kCwjKey, L"VelmokTest.Clw4Sim");
  SetDefaultValue(std::wstring(kTestProgId) + L"\\shell\\open\\command", L"\"" + SimulatorPath() + L"\" \"%1\"");
}

ScopedCwjAssociation::~ScopedCwjAssociation() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kTestProgId);
  RegDeleteTreeW(HKEY_CURRENT_USER, kCwjKey);
}

SimSession::SimSession(std::initializer_list<std::pair<std::wstring, std::wstring>> knobs) {
  for (const wchar_t* name : kAllKnobs) knobs_[name] = L"";
  knobs_[L"CLW4SIM_JOURNAL"] = dir_ / L"print-journal.txt";
  knobs_[L"CLW4SIM_KEYLOG"] = dir_ / L"keys.txt";
  knobs_[L"CLW4SIM_THIEF_KEYLOG"] = dir_ / L"thief-keys.txt";
  knobs_[L"CLW4SIM_LOG"] = dir_ / L"events.txt";
  knobs_[L"CLW4SIM_OPEN_DELAY_MS"] = L"80";
  knobs_[L"CLW4SIM_DIALOG_DELAY_MS"] = L"40";
  knobs_[L"CLW4SIM_PRINT_MS"] = L"200";
  knobs_[L"CLW4SIM_CLOSE_DELAY_MS"] = L"40";
  knobs_[L"CLW4SIM_QUIT_DELAY_MS"] = L"40";
  knobs_[L"CLW4SIM_WARNING_AGAIN_MS"] = L"60";
  for (const auto& [name, value] : knobs) knobs_[name] = value;
}

SimSession::~SimSession() { Kill(); }

std::wstring SimSession::MakeDocument(const std::wstring& relativePath) {
  const std::wstring path = dir_ / relativePath;
  for (std::size_t slash = path.find(L'\\', dir_.Path().size() + 1); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1))
    MakeFolder(path.substr(0, slash));
  WriteTextFile(path, "ClarisWorks document stand-in\r\n");
  return path;
}

bool SimSession::Launch(const std::wstring& document) {
  Process process = Process::Launch(SimulatorPath(), document.empty() ? L"" : L"\"" + document + L"\"", knobs_);
  if (!process.Valid()) return false;
  processId_ = process.Id();
  process_.Reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId_));
  return Attach(10s);
}

bool SimSession::LaunchThroughShell(const std::wstring& document) {
  ScopedEnvironment environment(knobs_);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) return false;
  return Attach(10s);
}

bool SimSession::Attach(Millis timeout) {
  const bool found = WaitUntil(
      [&] {
        for (HWND window = FindWindowExW(nullptr, nullptr, L"CLW4MainClass", nullptr); window;
             window = FindWindowExW(nullptr, window, L"CLW4MainClass", nullptr)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(window, &pid);
          if (!IsWindowVisible(window) || (processId_ && pid != processId_)) continue;
          main_ = window;
          processId_ = pid;
          return true;
        }
        return false;
      },
      timeout);
  if (found && !process_)
    process_.Reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId_));
  return found;
}

std::wstring SimSession::Title() const {
  wchar_t text[512] = {};
  GetWindowTextW(main_, text, 512);
  return text;
}

bool SimSession::WaitForTitle(const std::wstring& title, Millis timeout) const {
  return WaitUntil([&] { return IsWindow(main_) && Title() == title; }, timeout);
}

HWND SimSession::FindWindowTitled(const std::wstring& title) const {
  for (HWND window : TopLevelWindowsOf(processId_)) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (IsWindowVisible(window) && title == text) return window;
  }
  return nullptr;
}

HWND SimSession::WaitForWindow(const std::wstring& title, Millis timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowTitled(title)) != nullptr; }, timeout);
  return found;
}

bool SimSession::WaitForNoWindow(const std::wstring& title, Millis timeout) const {
  return WaitUntil([&] { return FindWindowTitled(title) == nullptr; }, timeout);
}

bool SimSession::WaitForForeground(HWND window, Millis timeout) const {
  return WaitUntil([&] { return GetForegroundWindow() == window; }, timeout);
}

bool SimSession::WaitExit(Millis timeout) const {
  if (!process_) return true;
  return WaitUntil([&] { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }, timeout);
}

std::optional<DWORD> SimSession::ExitCode() const {
  DWORD code = 0;
  if (!process_ || !GetExitCodeProcess(process_.Get(), &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

bool SimSession::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

void SimSession::Kill() {
  if (Running()) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

bool SimSession::Send(std::string_view notation) {
  return keyboard_.SendKeys(notation, platform::Keyboard::Wait::UntilProcessed);
}

bool SimSession::Type(std::wstring_view text) { return Send(EscapeKeyLiteral(U8(text))); }

std::vector<clw4sim::KeyRecord> SimSession::Keys() const { return ReadKeyJournal(knobs_.at(L"CLW4SIM_KEYLOG")); }

std::vector<clw4sim::KeyRecord> SimSession::ThiefKeys() const {
  return ReadKeyJournal(knobs_.at(L"CLW4SIM_THIEF_KEYLOG"));
}

std::vector<std::wstring> SimSession::Printed() const { return ReadLines(knobs_.at(L"CLW4SIM_JOURNAL")); }

bool SimSession::WaitForKey(const std::function<bool(const clw4sim::KeyRecord&)>& predicate, Millis timeout) const {
  return WaitUntil(
      [&] {
        for (const auto& record : Keys())
          if (predicate(record)) return true;
        return false;
      },
      timeout);
}

void Clw4SimTest::SetUp() {
  KillProcessesNamed(L"clw4sim.exe");
  KillProcessesNamed(L"focusthief.exe");
}

void Clw4SimTest::TearDown() {
  KillProcessesNamed(L"clw4sim.exe");
  KillProcessesNamed(L"focusthief.exe");
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  std::vector<HWND> visible;
  for (HWND window : TopLevelWindowsOf(processId))
    if (IsWindowVisible(window)) visible.push_back(window);
  return visible;
}

std::string KeySummary(const clw4sim::KeyRecord& record) {
  using clw4sim::KeyKind;
  const char* kind = record.event.kind == KeyKind::Down      ? "down"
                     : record.event.kind == KeyKind::SysDown ? "sysdown"
                     : record.event.kind == KeyKind::Char    ? "char"
                                                             : "syschar";
  if (record.event.IsDown()) return std::string(kind) + " " + clw4sim::VirtualKeyName(record.event.code);
  char unit[16];
  std::snprintf(unit, sizeof unit, "U+%04X", static_cast<unsigned>(record.event.code));
  return std::string(kind) + " " + unit;
}

std::vector<std::wstring> TypedPaths(const std::vector<clw4sim::KeyRecord>& keys) {
  const std::string dialog = U8(OpenTitle());
  std::vector<std::wstring> paths;
  std::wstring field;
  for (const auto& key : keys) {
    if (key.window != dialog || key.status != clw4sim::KeyStatus::Used) continue;
    if (key.event.kind == clw4sim::KeyKind::Char) {
      if (key.event.code == 0x08) {
        if (!field.empty()) field.pop_back();
      } else {
        field.push_back(static_cast<wchar_t>(key.event.code));
      }
    } else if (key.note == "open") {
      paths.push_back(field);
      field.clear();
    } else if (key.note == "cancel") {
      field.clear();
    }
  }
  return paths;
}

std::vector<clw4sim::KeyRecord> IgnoredKeys(const std::vector<clw4sim::KeyRecord>& keys) {
  std::vector<clw4sim::KeyRecord> ignored;
  for (const auto& key : keys)
    if (key.status == clw4sim::KeyStatus::Ignored) ignored.push_back(key);
  return ignored;
}

std::string Describe(const std::vector<clw4sim::KeyRecord>& keys) {
  std::string text;
  for (const auto& key : keys) text += clw4sim::FormatKeyRecord(key) + "\n";
  return text;
}

}  // namespace velmok::testing
