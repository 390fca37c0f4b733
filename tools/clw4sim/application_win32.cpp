#include "clw4sim/application_win32.h"

#include "clw4sim/key_input_win32.h"
#include "clw4sim/texts.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::ScopedHandle;
using velmok::win32::Widen;

namespace {

constexpr UINT kCrashExitCode = 3;

std::size_t PanelIndex(Surface surface) { return static_cast<std::size_t>(surface) - 1; }

bool IsModal(Surface surface) { return surface != Surface::Printing; }

PanelLook LookOf(Surface surface, const Document* document) {
  const std::string name = document ? document->name : std::string();
  PanelLook look;
  look.className = L"CLW4SimDialog";
  switch (surface) {
    case Surface::OpenDialog:
      look.title = std::string(texts::kOpenTitle);
      look.lines = {std::string(texts::kOpenPrompt), std::string(texts::kOpenKeys)};
      look.withEditField = true;
      look.width = 620;
      look.height = 150;
      break;
    case Surface::PrintDialog:
      look.title = std::string(texts::kPrintTitle);
      look.lines = {std::string(texts::kDocumentLabel) + name, std::string(texts::kPrintPrinter),
                    std::string(texts::kPrintCopies), std::string(texts::kPrintKeys)};
      look.height = 175;
      break;
    case Surface::ReadOnlyWarning:
      look.title = std::string(texts::kWarningTitle);
      look.lines = {std::string(texts::kDocumentLabel) + name, std::string(texts::kReadOnlyText),
                    std::string(texts::kReadOnlyKeys)};
      look.width = 620;
      look.height = 150;
      break;
    case Surface::SaveWarning:
      look.title = std::string(texts::kWarningTitle);
      look.lines = {std::string(texts::kSaveQuestionBefore) + name + std::string(texts::kSaveQuestionAfter),
                    std::string(texts::kSaveKeys)};
      look.width = 560;
      look.height = 120;
      break;
    default:
      look.className = L"CLW4SimPrinting";
      look.title = std::string(texts::kPrintingTitle);
      look.lines = {std::string(texts::kPrintingText) + name};
      look.width = 420;
      look.height = 90;
      break;
  }
  return look;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

}  // namespace

Application::Application(Knobs knobs)
    : knobs_(std::move(knobs)),
      keys_(knobs_.keyJournal),
      log_(knobs_.eventLog),
      main_(static_cast<MainWindow::Events&>(*this)),
      simulator_(knobs_, *this) {}

Application::~Application() = default;

bool Application::Start(const std::string& commandLinePath) {
  for (const auto& problem : knobs_.problems) Log(problem);
  if (!main_.Create()) {
    Log("cannot create the main window");
    return false;
  }
  Log("started" + (commandLinePath.empty() ? std::string() : " with " + commandLinePath));
  simulator_.Start(commandLinePath);  // shows the main window, unless a warning comes first
  return true;
}

// What Windows does when the active window goes and its program shows no other: it activates the
// topmost window that can take the foreground, another program's (VELMOK's progress window, while
// it prints). Wine leaves the foreground to nobody instead.
namespace {

struct ForegroundSearch {
  DWORD self;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowForTheForeground(HWND window, LPARAM data) noexcept {
  auto* s = reinterpret_cast<ForegroundSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == s->self || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
      (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) || GetWindowTextLengthW(window) == 0)
    return TRUE;
  s->found = window;
  return FALSE;
}

}  // namespace

void Application::ActivateNextWindow() {
  ForegroundSearch search{GetCurrentProcessId()};
  EnumWindows(FindWindowForTheForeground, reinterpret_cast<LPARAM>(&search));
  if (search.found) {
    SetForegroundWindow(search.found);
    Log("the foreground passed to another program's window");
  }
}

void Application::ShowFrame(bool shown) {
  if (!shown) {
    const bool foreground = ForegroundIsOurs();
    frameShown_ = false;
    ShowWindow(main_.Handle(), SW_HIDE);
    if (foreground) ActivateNextWindow();
    return;
  }
  frameShown_ = true;
  if (knobs_.foregroundDelayMs == 0 || everShown_) {
    // Foreground first, visible second: whoever sees the window can type into it at once. (Shown
    // first, the window would be visible for a moment while nothing has the foreground, and keys
    // typed then would be lost.)
    SetForegroundWindow(main_.Handle());
    ShowWindow(main_.Handle(), SW_SHOW);
    SetFocus(main_.Handle());
  } else {
    ShowWindow(main_.Handle(), SW_SHOWNOACTIVATE);
    main_.TakeForegroundAfter(knobs_.foregroundDelayMs);
  }
  everShown_ = true;
  UpdateWindow(main_.Handle());
}

bool Application::PreTranslate(const MSG& msg) {
  switch (KindOfMessage(msg)) {
    case KeyMessage::NotAKey: return false;
    case KeyMessage::Swallowed: return true;
    case KeyMessage::Journalled: break;
  }
  WaitingKey key{msg, {}, {}};
  if (!EventOf(msg, key)) return true;
  Judge(key, false);
  TakeWaitingKeys();
  return true;
}

bool Application::EventOf(const MSG& msg, WaitingKey& key) {
  key.event = KeyEventOf(msg);
  const bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
  if (!knobs_.ansi || !character) return true;
  char bytes[2] = {static_cast<char>(msg.wParam & 0xFF), 0};
  int count = 1;
  if (leadByte_.message != 0) {
    bytes[1] = bytes[0];
    bytes[0] = static_cast<char>(leadByte_.wParam & 0xFF);
    count = 2;
    key.leadByte = leadByte_;
    leadByte_ = MSG{};
  } else if (IsDBCSLeadByte(static_cast<BYTE>(bytes[0]))) {
    leadByte_ = msg;
    return false;
  }
  wchar_t unit = 0;
  if (MultiByteToWideChar(CP_ACP, 0, bytes, count, &unit, 1) == 1) key.event.code = unit;
  return true;
}

void Application::Judge(const WaitingKey& key, bool late) {
  const KeyVerdict verdict = simulator_.Classify(SurfaceOf(key.msg.hwnd), key.event);
  if (verdict.wait) {
    // Made into characters at once, as TranslateMessage would have when the program read it;
    // shortcuts are not.
    if (!late && verdict.translate && !(key.event.modifiers & (kCtrl | kAlt))) TranslateMessage(&key.msg);
    waiting_.push_back(key);
    return;
  }
  const std::string note = late ? std::string(verdict.note) + " (typed while busy)" : std::string(verdict.note);
  keys_.Record(verdict.status, key.event, RootTitle(key.msg.hwnd), note);
  if (!late && verdict.translate) TranslateMessage(&key.msg);
  if (verdict.deliver) Deliver(key);
  simulator_.Perform(verdict.command);
}

void Application::Deliver(const WaitingKey& key) {
  MSG msg = key.msg;
  // An ANSI program's character, as the code page gave it (a character of two bytes joined), to
  // the system's edit control.
  if (knobs_.ansi && (msg.message == WM_CHAR || msg.message == WM_SYSCHAR)) msg.wParam = key.event.code;
  DispatchMessageW(&msg);
}

// The keys that came while the program was busy, now that it reads its queue again.
void Application::TakeWaitingKeys() {
  while (!waiting_.empty() && simulator_.TakesKeys()) {
    const WaitingKey key = waiting_.front();
    waiting_.erase(waiting_.begin());
    Judge(key, true);
  }
}

void Application::Log(std::string_view line) { log_.Write(line); }

void Application::Show(Surface surface, const Document* document) {
  auto& slot = panels_[PanelIndex(surface)];
  slot.reset();
  auto panel = std::make_unique<PanelWindow>();
  const PanelLook look = LookOf(surface, document);
  if (!panel->Create(main_.Handle(), look)) {
    Log("cannot create the window " + look.title);
    return;
  }
  // A program in the background does not take the foreground (Windows would refuse it): the
  // window then waits behind the foreground program, and is activated with the main window. A
  // program that has just started, and shows this window before its main window, takes it.
  const bool activate = IsModal(surface) && (ForegroundIsOurs() || !everShown_);
  if (IsModal(surface)) EnableWindow(main_.Handle(), FALSE);
  slot = std::move(panel);
  slot->Show(activate);
  Log("shown: " + look.title + (activate ? "" : " (in the background)"));
}

void Application::Hide(Surface surface) {
  auto& slot = panels_[PanelIndex(surface)];
  if (!slot) return;
  const bool foreground = ForegroundIsOurs();
  if (IsModal(surface)) EnableWindow(main_.Handle(), TRUE);
  slot.reset();
  // The main window takes the foreground back, when it is shown: otherwise Windows gives it to
  // whoever is next.
  if (IsModal(surface) && foreground && frameShown_) {
    SetForegroundWindow(main_.Handle());
    SetFocus(main_.Handle());
  } else if (IsModal(surface) && foreground) {
    ActivateNextWindow();
  }
}

void Application::ShowDocument(const Document* document) { main_.ShowDocument(document); }

void Application::ShowStatus(std::string_view status) { main_.ShowStatus(status); }

void Application::StartTimer(Timer timer, unsigned ms) { main_.StartTimer(timer, ms); }

std::string Application::OpenDialogText() {
  const auto& panel = panels_[PanelIndex(Surface::OpenDialog)];
  return panel ? panel->EditText() : std::string();
}

bool Application::FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Application::FileIsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void Application::AppendPrintJournal(const std::string& path) {
  if (!AppendLine(knobs_.printJournal, path)) Log("cannot write the print journal " + knobs_.printJournal);
}

void Application::WriteSpoolJob(const Document& document) {
  if (knobs_.spoolDir.empty()) return;
  const std::string job = WriteUniqueFile(knobs_.spoolDir, "job-", ".spl",
                                          std::to_string(document.ordinal) + "\t" + document.path + "\r\n");
  Log(job.empty() ? "cannot write a job file in " + knobs_.spoolDir : "job file " + job);
}

void Application::Beep() { MessageBeep(MB_ICONWARNING); }

void Application::Block(unsigned ms) { Sleep(ms); }

void Application::StartFocusThief(unsigned holdMs) {
  const std::wstring program = ProgramFolder() + L"\\focusthief.exe";
  std::wstring commandLine =
      L"\"" + program + L"\" " + std::to_wstring(holdMs) + L" \"" + Widen(knobs_.thiefKeyJournal) + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    Log("cannot start focusthief.exe, error " + std::to_string(GetLastError()));
    return;
  }
  ScopedHandle process(info.hProcess);
  ScopedHandle thread(info.hThread);
}

void Application::Crash() { TerminateProcess(GetCurrentProcess(), kCrashExitCode); }

void Application::Hang() {
  for (;;) Sleep(1000);
}

void Application::Quit() {
  for (auto& panel : panels_) panel.reset();
  main_.Destroy();
  PostQuitMessage(0);
}

void Application::OnTimerElapsed(Timer timer) {
  simulator_.OnTimer(timer);
  TakeWaitingKeys();
}

void Application::OnHandedOver(const std::string& path) {
  Log("handed over: " + path);
  SetForegroundWindow(main_.Handle());
  simulator_.OpenFromShell(path);
}

void Application::OnActivated() {
  PanelWindow* panel = ModalPanel();
  if (panel && GetForegroundWindow() == main_.Handle()) SetForegroundWindow(panel->Handle());
}

void Application::OnCloseRequested() {
  Log("WM_CLOSE");
  simulator_.CloseRequested();
}

Surface Application::SurfaceOf(HWND window) const {
  HWND root = GetAncestor(window, GA_ROOT);
  if (!root) root = window;
  if (root && root == main_.Handle()) return Surface::Main;
  for (std::size_t i = 0; i < panels_.size(); ++i)
    if (panels_[i] && panels_[i]->Handle() == root) return static_cast<Surface>(i + 1);
  return Surface::Other;
}

PanelWindow* Application::ModalPanel() const {
  for (std::size_t i = 0; i < panels_.size(); ++i)
    if (panels_[i] && IsModal(static_cast<Surface>(i + 1))) return panels_[i].get();
  return nullptr;
}

bool Application::ForegroundIsOurs() const {
  HWND foreground = GetForegroundWindow();
  if (!foreground || foreground == GetDesktopWindow()) return true;
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId();
}

}  // namespace clw4sim
