#include "win32/real_input.h"

#include <atomic>
#include <vector>

namespace velmok::testing {

namespace {

// Releases sent, and releases retrieved by any message loop of this thread.
std::atomic<int> g_releasesSent{0};
std::atomic<int> g_releasesTaken{0};

bool IsRelease(UINT message) {
  switch (message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK Retrieved(int code, WPARAM removed, LPARAM lp) noexcept {
  if (code == HC_ACTION && removed == PM_REMOVE && IsRelease(reinterpret_cast<const MSG*>(lp)->message))
    ++g_releasesTaken;
  return CallNextHookEx(nullptr, code, removed, lp);
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  return in;
}

// The absolute coordinate (0 to 65535 over the virtual screen) that lands on pixel `at`.
LONG Normalised(LONG at, LONG origin, LONG extent) {
  return static_cast<LONG>(((static_cast<long long>(at - origin) << 16) + extent - 1) / extent);
}

// A move to `at`, or (with `flags` of a button) a press or release there.
INPUT Pointer(POINT at, DWORD flags = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = Normalised(at.x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  in.mi.dy = Normalised(at.y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  return in;
}

// A press or release of a button, at the point it is meant for: the system's idea of where the
// pointer is can lag behind (see MoveTo), the place given with the event cannot.
INPUT Button(int button, bool up, POINT at) {
  switch (button) {
    case 2: return Pointer(at, up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN);
    case 4: return Pointer(at, up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN);
    default: return Pointer(at, up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
  }
}

bool Send(std::vector<INPUT> inputs) {
  int releases = 0;
  for (const INPUT& in : inputs) {
    if (in.type == INPUT_KEYBOARD && (in.ki.dwFlags & KEYEVENTF_KEYUP)) ++releases;
    if (in.type == INPUT_MOUSE &&
        (in.mi.dwFlags & (MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP)))
      ++releases;
  }
  g_releasesSent += releases;
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace

RealInput::RealInput(std::function<void()> pump) : pump_(std::move(pump)) {
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, Retrieved, nullptr, GetCurrentThreadId());
  GetCursorPos(&start_);
}

RealInput::~RealInput() {
  // The pointer goes back where it was: under Wine a window that opens under the pointer takes the
  // X keyboard's state for its own, which would undo the keys a later test holds down.
  MoveTo(start_);
  if (hook_) UnhookWindowsHookEx(hook_);
}

bool RealInput::Fail(std::string why) {
  POINT at{};
  GetCursorPos(&at);
  failure_ = std::move(why) + " (pointer at " + std::to_string(at.x) + ", " + std::to_string(at.y) + "; releases sent " +
             std::to_string(g_releasesSent.load()) + ", taken " + std::to_string(g_releasesTaken.load()) + ")";
  return false;
}

bool RealInput::MoveTo(POINT screen) {
  // Under Wine a move is also made on the X display, whose report of it reaches the desktop a moment
  // later and can carry the pointer back to where an earlier move left it. The move counts once the
  // pointer has stayed where it was sent for a while.
  constexpr auto kSteady = 30ms;
  const auto deadline = std::chrono::steady_clock::now() + 3s;
  auto since = std::chrono::steady_clock::now();
  bool there = false;
  if (!Send({Pointer(screen)})) return Fail("SendInput refused the move");
  for (;;) {
    pump_();
    POINT now{};
    GetCursorPos(&now);
    const auto t = std::chrono::steady_clock::now();
    if (now.x == screen.x && now.y == screen.y) {
      if (!there) since = t;
      there = true;
      if (t - since >= kSteady) return true;
    } else if (there) {
      there = false;  // carried away: sent again
      if (!Send({Pointer(screen)})) return Fail("SendInput refused the move");
    }
    if (t >= deadline)
      return Fail("the pointer did not stay at (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ")");
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

bool RealInput::WaitForModifiers(const std::vector<WORD>& keys, bool down) {
  // Keys pass the desktop's keyboard hook on their way, the mouse does not: a press must not
  // overtake the Ctrl that is to go with it.
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  for (;;) {
    bool all = true;
    for (const WORD k : keys) all = all && (((GetAsyncKeyState(k) & 0x8000) != 0) == down);
    if (all) return true;
    if (std::chrono::steady_clock::now() >= deadline)
      return Fail(down ? "a modifier key did not go down" : "a modifier key did not come up");
    pump_();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

bool RealInput::Click(POINT screen, int button, const std::vector<WORD>& modifiers, int count) {
  if (!MoveTo(screen)) return false;
  std::vector<INPUT> down;
  for (const WORD k : modifiers) down.push_back(Key(k, false));
  if (!down.empty() && !Send(down)) return Fail("SendInput refused the modifiers");
  if (!down.empty() && !WaitForModifiers(modifiers, true)) return false;
  std::vector<INPUT> clicks;
  for (int i = 0; i < count; ++i) {
    clicks.push_back(Button(button, false, screen));
    clicks.push_back(Button(button, true, screen));
  }
  if (!Send(clicks)) return Fail("SendInput refused the clicks");
  if (!Settle()) return false;
  std::vector<INPUT> up;
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) up.push_back(Key(*it, true));
  if (!up.empty() && !Send(up)) return Fail("SendInput refused the modifiers' release");
  if (!up.empty() && !WaitForModifiers(modifiers, false)) return false;
  return Settle();
}

bool RealInput::Keys(std::initializer_list<WORD> chord) { return Keys({chord}); }

bool RealInput::Keys(std::initializer_list<std::initializer_list<WORD>> chords) {
  std::vector<INPUT> inputs;
  for (const auto& chord : chords) {
    for (const WORD k : chord) inputs.push_back(Key(k, false));
    for (auto it = chord.end(); it != chord.begin();) inputs.push_back(Key(*--it, true));
  }
  if (!Send(inputs)) return Fail("SendInput refused the keys");
  return Settle();
}

void RealInput::TapFromInside(WORD key) { Send({Key(key, false), Key(key, true)}); }

bool RealInput::Settle(Millis timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    pump_();
    if (g_releasesTaken >= g_releasesSent) {
      // What the releases set going (a posted report of a keyboard selection, a pop-up menu that
      // is then dismissed by a key of its own) is handled too.
      pump_();
      if (g_releasesTaken >= g_releasesSent) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return Fail("the releases were not all taken");
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

}  // namespace velmok::testing
