#include "platform/win32/keyboard_win32.h"

#include <array>
#include <cstdint>
#include <iterator>

#include "platform/win32/session_lock_win32.h"

namespace velmok::win32 {

namespace {

INPUT VirtualKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU:
    case VK_LWIN: case VK_RWIN:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

INPUT UnicodeUnit(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

WORD VirtualKeyOf(NamedKey key) {
  switch (key) {
    case NamedKey::Enter: return VK_RETURN;
    case NamedKey::Tab: return VK_TAB;
    case NamedKey::Escape: return VK_ESCAPE;
    case NamedKey::Backspace: return VK_BACK;
    case NamedKey::Delete: return VK_DELETE;
    case NamedKey::Insert: return VK_INSERT;
    case NamedKey::Home: return VK_HOME;
    case NamedKey::End: return VK_END;
    case NamedKey::PageUp: return VK_PRIOR;
    case NamedKey::PageDown: return VK_NEXT;
    case NamedKey::Up: return VK_UP;
    case NamedKey::Down: return VK_DOWN;
    case NamedKey::Left: return VK_LEFT;
    case NamedKey::Right: return VK_RIGHT;
    case NamedKey::None: return 0;
    default:
      return static_cast<WORD>(VK_F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1)));
  }
}

// The virtual key of a character typed together with a modifier ("^o" is Ctrl+O).
std::optional<WORD> VirtualKeyOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return static_cast<WORD>('A' + (c - U'a'));
  if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')) return static_cast<WORD>(c);
  if (c > 0xFFFF) return std::nullopt;
  const SHORT scan = VkKeyScanW(static_cast<wchar_t>(c));
  if (scan == -1) return std::nullopt;
  return static_cast<WORD>(scan & 0xFF);
}

constexpr std::array<std::pair<unsigned, WORD>, 3> kModifierKeys = {{
    {kShift, VK_SHIFT}, {kCtrl, VK_CONTROL}, {kAlt, VK_MENU}}};

// An event's key: its virtual key, or for a Unicode character the character, apart.
std::uint32_t KeyOf(const INPUT& input) {
  return (input.ki.dwFlags & KEYEVENTF_UNICODE) ? 0x10000u + input.ki.wScan : input.ki.wVk;
}

// Waits until the thread behind `window` has taken and handled every input event queued before the
// call. A thread is handed WM_PAINT only when no sent, posted or input message is waiting for it,
// and it handles each message before it asks for the next: once the window has repainted the area
// invalidated here, the keys queued before are done with, together with the characters
// TranslateMessage made of them. (Round trips of WM_NULL cannot tell this: one GetMessage call
// answers every sent message that arrives while it runs, and a sender that sends the next one at
// once has them all answered without a single key taken.)
void WaitUntilProcessed(HWND window, const std::function<bool()>& giveUp) {
  if (!window) return;
  // Keys for a window of this thread are taken when the caller next pumps its messages.
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return;
  // A hung program would not repaint: one round trip finds that out quickly.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &ignored)) return;
  if (!InvalidateRect(window, nullptr, FALSE)) return;
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (IsWindow(window) && GetUpdateRect(window, nullptr, FALSE)) {
    if (GetTickCount64() >= deadline || (giveUp && giveUp())) return;
    Sleep(1);
  }
}

}  // namespace

std::optional<std::vector<INPUT>> BuildKeyInputs(const std::vector<KeyStroke>& strokes) {
  std::vector<INPUT> out;
  out.reserve(strokes.size() * 2 + 8);
  for (const KeyStroke& stroke : strokes) {
    for (const auto& [bit, vk] : kModifierKeys)
      if (stroke.modifiers & bit) out.push_back(VirtualKey(vk, false));
    if (stroke.key != NamedKey::None) {
      const WORD vk = VirtualKeyOf(stroke.key);
      out.push_back(VirtualKey(vk, false));
      out.push_back(VirtualKey(vk, true));
    } else if (stroke.modifiers != 0) {
      const auto vk = VirtualKeyOf(stroke.character);
      if (!vk) return std::nullopt;
      out.push_back(VirtualKey(*vk, false));
      out.push_back(VirtualKey(*vk, true));
    } else if (stroke.character > 0xFFFF) {
      const char32_t v = stroke.character - 0x10000;
      const auto high = static_cast<wchar_t>(0xD800 + (v >> 10));
      const auto low = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
      out.push_back(UnicodeUnit(high, false));
      out.push_back(UnicodeUnit(low, false));
      out.push_back(UnicodeUnit(high, true));
      out.push_back(UnicodeUnit(low, true));
    } else {
      const auto unit = static_cast<wchar_t>(stroke.character);
      out.push_back(UnicodeUnit(unit, false));
      out.push_back(UnicodeUnit(unit, true));
    }
    for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it)
      if (stroke.modifiers & it->first) out.push_back(VirtualKey(it->second, true));
  }
  return out;
}

std::vector<INPUT> ReleasesFor(const std::vector<INPUT>& inputs, std::size_t sent) {
  std::vector<const INPUT*> down;
  for (std::size_t i = 0; i < sent && i < inputs.size(); ++i) {
    const INPUT& input = inputs[i];
    const std::uint32_t key = KeyOf(input);
    if (!(input.ki.dwFlags & KEYEVENTF_KEYUP)) {
      down.push_back(&input);
      continue;
    }
    for (auto it = down.rbegin(); it != down.rend(); ++it)
      if (KeyOf(**it) == key) {
        down.erase(std::next(it).base());
        break;
      }
  }
  std::vector<INPUT> releases;
  for (auto it = down.rbegin(); it != down.rend(); ++it) {
    INPUT up = **it;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    releases.push_back(up);
  }
  return releases;
}

std::size_t StrokesTaken(const std::vector<INPUT>& inputs, std::size_t sent) {
  // Each keystroke presses its keys and lets them all go again: where nothing is held any more, the
  // next one begins.
  std::size_t taken = 0;
  std::size_t lastDown = 0;
  int held = 0;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) {
      --held;
    } else {
      ++held;
      lastDown = i;
    }
    if (held != 0) continue;
    if (lastDown >= sent) break;
    ++taken;
  }
  return taken;
}

bool Win32Keyboard::Locked() { return lock_ ? lock_->Locked() : InputDesktopUnavailable(); }

bool UserHoldsAModifier() {
  for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  return false;
}

platform::Keyboard::Delivery Win32Keyboard::SendKeysTo(platform::WindowId front, std::string_view notation,
                                                       Wait wait) {
  const auto strokes = ParseKeyNotation(notation);
  if (!strokes) return {Outcome::Refused};
  auto inputs = BuildKeyInputs(*strokes);
  if (!inputs) return {Outcome::Refused};

  const HWND expected = reinterpret_cast<HWND>(front);
  // Checked right before the keys go, so that no other window can come between the check and them.
  const HWND target = GetForegroundWindow();
  if (expected && target != expected) return {Outcome::NotInFront};
  if (inputs->empty()) return {Outcome::Sent};
  // Releasing a key the user holds would act on its own: a lone Alt-up opens the menu bar of the
  // window in front, a lone Windows-key-up the Start menu. Nothing goes out until it is let go.
  if (UserHoldsAModifier()) return {Outcome::ModifiersHeld};

  const UINT sent = SendInput(static_cast<UINT>(inputs->size()), inputs->data(), sizeof(INPUT));
  if (sent != inputs->size()) {
    std::vector<INPUT> releases = ReleasesFor(*inputs, sent);
    if (!releases.empty()) SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
    // Refused because the screen has just been locked: the rest waits for it to be unlocked.
    return {Locked() ? Outcome::Locked : Outcome::Failed, StrokesTaken(*inputs, sent)};
  }
  if (wait == Wait::UntilProcessed) WaitUntilProcessed(target, giveUpWaiting_);
  // A window the keys closed may be reported in front for a moment after it has gone.
  if (expected && (GetForegroundWindow() != expected || !IsWindow(expected)))
    return {Outcome::ForegroundChanged, strokes->size()};
  return {Outcome::Sent, strokes->size()};
}

}  // namespace velmok::win32
