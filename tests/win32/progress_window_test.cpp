// frmProgress in this process, while its run is under way: controls in their places in twips, the
// red bold warning in its font, topmost and out of the task bar, the close box and Alt+F4 without
// effect, the warning blinking every 500 ms.

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fakes/fakes.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/system_win32.h"
#include "printing/win32/frm_progress.h"
#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

int Px(int twips, UINT dpi) { return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0)); }

void PumpFor(Millis time) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(time.count());
  while (GetTickCount64() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

// The client area, the controls' places in twips and the warning's font at the scaling `dpi`.
void CheckPlacesAndFont(win32::FrmProgress& p, UINT dpi) {
  SCOPED_TRACE(::testing::Message() << dpi << " dpi");
  const HWND w = p.Handle();
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, Px(7680, dpi));
  EXPECT_EQ(client.bottom, Px(4050, dpi));
  const struct {
    HWND control;
    const wchar_t* name;
    int left, top, width, height;  // twips
  } places[] = {
      {p.WarningLabel(), L"lblStatus", 120, 120, 7455, 495},
      {p.StatusBox(), L"txtStatus", 0, 600, 7695, 2655},
      {p.ProgressBar(), L"prgProgress", 120, 3480, 5415, 255},
      {p.StopButton(), L"cmdCancel", 5640, 3480, 1935, 495},
  };
  for (const auto& c : places) {
    SCOPED_TRACE(U8(c.name));
    RECT r;
    GetWindowRect(c.control, &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(c.left, dpi));
    EXPECT_EQ(r.top, Px(c.top, dpi));
    EXPECT_EQ(r.right - r.left, Px(c.width, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(c.height, dpi));
  }
  // The warning: "ＭＳ Ｐゴシック", bold, 15.75 points, Shift_JIS.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(p.WarningLabel(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(15.75 * dpi / 72.0)));
  // The other controls' font is the message font of that scaling.
  NONCLIENTMETRICSW metrics{sizeof metrics};
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(p.StopButton(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
}

void CheckTheWindow(win32::FrmProgress& p) {
  const HWND w = p.Handle();
  EXPECT_EQ(WindowText(w), L"自動操作処理中");
  CheckPlacesAndFont(p, GetDpiForWindow(w));
  EXPECT_EQ(WindowText(p.WarningLabel()), L"※マウス・キーボードに触れないでください。");
  EXPECT_EQ(WindowText(p.StopButton()), L"緊急操作中止(&X)");
  EXPECT_EQ(GetWindowLongW(p.StatusBox(), GWL_STYLE) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL),
            static_cast<LONG>(ES_MULTILINE | ES_READONLY | WS_VSCROLL));

  // Pure red.
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(p.WarningLabel()));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  DeleteDC(dc);

  // Topmost; no minimise or maximise box; out of the task bar (a hidden owner).
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  const HWND owner = GetWindow(w, GW_OWNER);
  EXPECT_TRUE(owner && !IsWindowVisible(owner));

  // From its first paint on, no Close in the system menu; the close box and Alt+F4 do nothing.
  UpdateWindow(w);
  EXPECT_EQ(GetMenuState(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(w, WM_CLOSE, 0, 0);
  PostMessageW(w, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  PumpFor(100ms);
  EXPECT_TRUE(IsWindow(w) && IsWindowVisible(w));

  // The warning blinks: shown 500 ms, hidden 500 ms.
  std::vector<ULONGLONG> changes;
  bool visible = IsWindowVisible(p.WarningLabel()) != FALSE;
  const ULONGLONG end = GetTickCount64() + 1800;
  while (GetTickCount64() < end) {
    PumpFor(5ms);
    const bool now = IsWindowVisible(p.WarningLabel()) != FALSE;
    if (now != visible) changes.push_back(GetTickCount64());
    visible = now;
  }
  ASSERT_GE(changes.size(), 3u);
  for (std::size_t i = 1; i < changes.size(); ++i) {
    EXPECT_GE(changes[i] - changes[i - 1], 400u);
    EXPECT_LE(changes[i] - changes[i - 1], 650u);
  }
}

// What a progress window under test is made with: the real clock, a print state, and session
// duties that only count what is asked of them.
struct ProgressParts {
  win32::Win32Clock clock;
  PrintState state;
  fakes::FakeSessionDuties duties;
  RunSessionHold hold{duties};
};

TEST(ProgressWindow, PlacesFontTopmostNoCloseAndTheBlink) {
  ProgressParts parts;
  auto& [clock, state, duties, hold] = parts;
  bool ran = false;
  win32::FrmProgress progress(GetModuleHandleW(nullptr), clock, state, hold, [&](win32::FrmProgress& p, int& printed) {
    ran = true;
    CheckTheWindow(p);
    printed = 2;
    return true;
  });
  progress.ShowModal();
  EXPECT_TRUE(ran);
  EXPECT_EQ(state.LastPrintResult, 2);
  EXPECT_FALSE(progress.Handle()) << "a successful run closes the window itself";
}

// Moved onto a monitor of another scaling during the run, the window takes the place Windows
// suggests there, with its client area, its controls and its fonts at that scaling.
TEST(ProgressWindow, FollowsTheScalingOfTheMonitorItIsMovedTo) {
  ProgressParts parts;
  auto& [clock, state, duties, hold] = parts;
  win32::FrmProgress progress(GetModuleHandleW(nullptr), clock, state, hold, [&](win32::FrmProgress& p, int& printed) {
    for (const UINT dpi : {120u, 168u, 144u, 96u}) {
      RECT suggested{150, 100, 150 + 700, 100 + 400};
      SendMessageW(p.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      EXPECT_EQ(p.Dpi(), dpi);
      RECT r{};
      GetWindowRect(p.Handle(), &r);
      EXPECT_EQ(r.left, 150);
      EXPECT_EQ(r.top, 100);
      CheckPlacesAndFont(p, dpi);
    }
    printed = 0;
    return true;
  });
  progress.ShowModal();
}

// On Windows 7 the window is laid out at the system's scaling, here 120 dpi.
TEST(ProgressWindow, OnWindows7TheSystemsScalingIsTaken) {
  if (!InChildAtSystemDpi(120)) return;
  win32::ScopedNewerWindows windows7(win32::NewerWindows::AsWindows7());
  ProgressParts parts;
  auto& [clock, state, duties, hold] = parts;
  bool ran = false;
  win32::FrmProgress progress(GetModuleHandleW(nullptr), clock, state, hold, [&](win32::FrmProgress& p, int& printed) {
    ran = true;
    EXPECT_EQ(p.Dpi(), 120u);
    CheckPlacesAndFont(p, 120);
    printed = 0;
    return true;
  });
  progress.ShowModal();
  EXPECT_TRUE(ran);
}

// The run starts once, however often the window is activated, and holds the session from the
// window's showing to the run's end: at every event check of the run the machine is kept awake
// and both windows of the program carry the reason, also after the session has asked. Then it
// lets go once.
TEST(ProgressWindow, TheRunStartsOnceAndHoldsTheSessionUntilItEnds) {
  ProgressParts parts;
  auto& [clock, state, duties, hold] = parts;
  constexpr platform::WindowId kMain = 0x4711;
  hold.AddWindow(kMain);
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  int runs = 0;
  int checks = 0, heldAtChecks = 0;
  win32::FrmProgress progress(GetModuleHandleW(nullptr), clock, state, hold, [&](win32::FrmProgress& p, int&) {
    ++runs;
    auto held = [&] {
      const auto self = reinterpret_cast<platform::WindowId>(p.Handle());
      return duties.awake && duties.reasons.size() == 2 && duties.reasons.count(kMain) && duties.reasons.count(self);
    };
    for (int i = 0; i < 6; ++i) {
      // Activated again and again, as when another window comes and goes.
      SetForegroundWindow(i % 2 ? p.Handle() : other);
      p.Services().SleepEx(100);
      ++checks;
      heldAtChecks += held();
      if (i == 3) {
        EXPECT_EQ(SendMessageW(p.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
        EXPECT_TRUE(held()) << "still held once the session has asked";
      }
    }
    return true;
  });
  progress.ShowModal();
  DestroyWindow(other);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(heldAtChecks, checks) << "held at every event check";
  EXPECT_EQ(duties.awakeCalls, 1) << "held once";
  EXPECT_EQ(duties.asleepCalls, 1) << "let go once";
  EXPECT_TRUE(duties.reasons.empty());
}

}  // namespace
}  // namespace velmok::testing
