// frmAbout in this process: caption, version, picture and buttons in their places, modality, and
// the keys and the close box that close it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "support/win32_test_support.h"
#include "win32/diagnostics_test_support.h"

namespace velmok::testing {
namespace {

int Px(int twips, UINT dpi) { return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0)); }

TEST(AboutBox, CaptionLabelsPictureAndButtonsInTheirPlaces) {
  const auto main = MainWindowStandIn();
  AboutBoxWorld world;
  win32::FrmAbout& about = world.about;
  ASSERT_TRUE(about.Open());
  const HWND box = about.Handle();
  const UINT dpi = GetDpiForWindow(box);
  EXPECT_EQ(WindowText(box), L"ベルモックのバージョン情報");
  RECT client;
  GetClientRect(box, &client);
  EXPECT_EQ(client.right, Px(6000, dpi));
  EXPECT_EQ(client.bottom, Px(5265, dpi));

  const struct {
    HWND window, parent;
    std::wstring text;
    int left, top, width, height;  // twips
  } controls[] = {
      {about.Picture(), box, L"", 0, 0, 6000, 4500},
      {about.VersionLabel(), about.Picture(), L"version 2.0.49", 2040, 1080, 3885, 225},
      {about.DescriptionLabel(), about.Picture(), L"ｱﾌﾟﾘｹｰｼｮﾝの説明", 840, 2760, 3885, 1170},
      {about.WWWButton(), box, L"WWW(&W)...", 720, 4680, 1545, 465},
      {about.SysInfoButton(), box, L"システム情報(&S)...", 2520, 4680, 1620, 465},
      {about.OKButton(), box, L"OK", 4320, 4680, 1545, 465},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(U8(c.text));
    ASSERT_EQ(GetParent(c.window), c.parent);
    EXPECT_EQ(WindowText(c.window), c.text);
    RECT r;
    GetWindowRect(c.window, &r);
    MapWindowPoints(nullptr, c.parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(c.left, dpi));
    EXPECT_EQ(r.top, Px(c.top, dpi));
    EXPECT_EQ(r.right - r.left, Px(c.width, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(c.height, dpi));
  }
  DIBSECTION picture{};
  GetObjectW(reinterpret_cast<HBITMAP>(GetWindowLongPtrW(about.Picture(), GWLP_USERDATA)), sizeof picture, &picture);
  EXPECT_EQ(std::make_tuple(picture.dsBm.bmWidth, picture.dsBm.bmHeight, int{picture.dsBm.bmBitsPixel}),
            std::make_tuple(400L, 300L, 8));

  // OK is the default button and has the focus; no minimise or maximise box; out of the task
  // bar (a hidden owner, not the main window); centred on the screen.
  EXPECT_EQ(GetWindowLongW(about.OKButton(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetFocus(), about.OKButton());
  EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_EQ(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  const HWND owner = GetWindow(box, GW_OWNER);
  EXPECT_TRUE(owner && owner != main.Get() && !IsWindowVisible(owner));
  RECT frame;
  GetWindowRect(box, &frame);
  MONITORINFO monitor{sizeof monitor};
  GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_LE(std::abs(frame.left + frame.right - monitor.rcWork.left - monitor.rcWork.right), 2);
  EXPECT_LE(std::abs(frame.top + frame.bottom - monitor.rcWork.top - monitor.rcWork.bottom), 2);

  // Modal: the main window takes no input until the box has closed.
  EXPECT_FALSE(IsWindowEnabled(main.Get()));
  SendMessageW(about.OKButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(about.IsOpen() || IsWindow(box));
  EXPECT_TRUE(IsWindowEnabled(main.Get()));
}

// Acts on the box once from inside its modal loop; a watchdog closes it should the act not.
struct ModalScript {
  win32::FrmAbout* about;
  void (*act)(win32::FrmAbout&);
  int ticks = 0;
  bool timedOut = false;
} * g_script = nullptr;

void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) {
  ModalScript& s = *g_script;
  if (!s.about->IsOpen()) return;
  if (s.ticks++ == 0) {
    s.act(*s.about);
  } else if (s.ticks > 250) {
    s.timedOut = true;
    s.about->Close();
  }
}

void PressKey(win32::FrmAbout& about, WPARAM key) {
  const HWND focus = GetFocus();
  PostMessageW(focus && IsChild(about.Handle(), focus) ? focus : about.OKButton(), WM_KEYDOWN, key, 1);
}

TEST(AboutBox, EnterEscAndTheCloseBoxCloseTheModalBox) {
  const struct {
    const char* name;
    void (*act)(win32::FrmAbout&);
  } cases[] = {
      {"Enter", [](win32::FrmAbout& a) { PressKey(a, VK_RETURN); }},
      {"Esc", [](win32::FrmAbout& a) { PressKey(a, VK_ESCAPE); }},
      {"close box", [](win32::FrmAbout& a) { PostMessageW(a.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto main = MainWindowStandIn();
    AboutBoxWorld world;
    ModalScript script{&world.about, c.act};
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ModalTick);
    world.about.ShowModal();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(script.timedOut);
    EXPECT_TRUE(IsWindowEnabled(main.Get()));
  }
}

}  // namespace
}  // namespace velmok::testing
