// frmMain's children at several window sizes, the list's columns, and the settings that the window
// keeps between runs, through a registry key of the test's own.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/win32/newer_windows.h"
#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

// A child's rectangle in the main window's client coordinates.
RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Px(float twips, UINT dpi) { return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / 1440.0f)); }

// The strip along the top, the toolbar in it, the status bar along the bottom and the list in
// between, never of negative height.
void ExpectLayout(MainWindowHarness& w, int line) {
  SCOPED_TRACE(::testing::Message() << "from line " << line);
  const UINT dpi = w.Frm().Dpi();
  RECT client{};
  GetClientRect(w.Main(), &client);
  const RECT strip = ChildRect(w.Main(), w.Strip());
  const RECT status = ChildRect(w.Main(), w.StatusBar());
  const RECT list = ChildRect(w.Main(), w.ListView());
  const RECT toolbar = ChildRect(w.Strip(), w.Toolbar());
  const int stripHeight = Px(495, dpi);

  EXPECT_EQ(strip.left, 0);
  EXPECT_EQ(strip.top, 0);
  EXPECT_EQ(strip.right, client.right);
  EXPECT_EQ(strip.bottom - strip.top, stripHeight);
  EXPECT_EQ(toolbar.top, Px(90, dpi));
  EXPECT_EQ(toolbar.bottom - toolbar.top, Px(330, dpi));
  // Every button whole inside the toolbar, the toolbar inside the strip.
  EXPECT_LE(toolbar.bottom, strip.bottom - strip.top);
  const int buttons = static_cast<int>(SendMessageW(w.Toolbar(), TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < buttons; ++i) {
    RECT b{};
    SendMessageW(w.Toolbar(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    EXPECT_GE(b.top, 0) << "button " << i << " at " << dpi << " dpi";
    EXPECT_LE(b.bottom, toolbar.bottom - toolbar.top) << "button " << i << " at " << dpi << " dpi";
  }

  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.left, 0);
  EXPECT_EQ(status.right, client.right);
  const int statusHeight = status.bottom - status.top;

  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, stripHeight);
  EXPECT_EQ(list.right, client.right);
  const int height = client.bottom - stripHeight - statusHeight;
  EXPECT_EQ(list.bottom - list.top, height < 0 ? 0 : height);
  EXPECT_GE(list.bottom - list.top, 0);
}

class MainWindowLayout : public ::testing::Test {
 protected:
  ScratchSettings settings_;
};

TEST_F(MainWindowLayout, ChildrenFollowTheClientAreaDownToNothing) {
  MainWindowHarness w(settings_);
  ASSERT_TRUE(w.Created());
  RECT client{};
  GetClientRect(w.Main(), &client);
  EXPECT_EQ(client.right, Px(7920, w.Frm().Dpi())) << "designed client width";
  EXPECT_EQ(client.bottom, Px(4320, w.Frm().Dpi())) << "designed client height";
  ExpectLayout(w, __LINE__);

  struct Size {
    int width, height;
  };
  bool sawTooSmall = false;
  for (const Size s : {Size{900, 640}, Size{420, 260}, Size{300, 140}, Size{260, 100}, Size{240, 70}, Size{700, 500}}) {
    SCOPED_TRACE(::testing::Message() << s.width << "x" << s.height);
    SetWindowPos(w.Main(), nullptr, 0, 0, s.width, s.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    w.Pump();
    ExpectLayout(w, __LINE__);
    GetClientRect(w.Main(), &client);
    const RECT status = ChildRect(w.Main(), w.StatusBar());
    if (client.bottom < Px(495, w.Frm().Dpi()) + (status.bottom - status.top)) sawTooSmall = true;
  }
  EXPECT_TRUE(sawTooSmall) << "no size made the client area lower than the strip and the status bar";

  // A maximised window lays out the same way.
  ShowWindow(w.Main(), SW_MAXIMIZE);
  w.Pump();
  ExpectLayout(w, __LINE__);
  ShowWindow(w.Main(), SW_RESTORE);
  w.Pump();
  ExpectLayout(w, __LINE__);
}

TEST_F(MainWindowLayout, ColumnsComeFromTheListWidthAtLoadOnly) {
  MainWindowHarness w(settings_);
  ASSERT_TRUE(w.Created());
  HWND list = w.ListView();
  RECT inside{};
  GetClientRect(list, &inside);
  const float width = static_cast<float>(inside.right);
  struct Column {
    const wchar_t* heading;
    float share;
    int format;
  };
  const Column columns[] = {{L"名前", 3, LVCFMT_LEFT},
                            {L"更新日時", 2, LVCFMT_LEFT},
                            {L"サイズ", 1, LVCFMT_RIGHT},
                            {L"フォルダ名", 4, LVCFMT_LEFT}};
  int widths[4] = {};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    wchar_t heading[64] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    c.pszText = heading;
    c.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c)));
    EXPECT_STREQ(heading, columns[i].heading);
    EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, columns[i].format);
    EXPECT_NEAR(c.cx, width / 10 * columns[i].share, 1.0);
    widths[i] = c.cx;
  }
  LVCOLUMNW more{};
  more.mask = LVCF_WIDTH;
  EXPECT_FALSE(SendMessageW(list, LVM_GETCOLUMNW, 4, reinterpret_cast<LPARAM>(&more))) << "four columns only";

  SetWindowPos(w.Main(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  w.Pump();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0), widths[i]) << "column " << i;
}

// --- settings -----------------------------------------------------------------------------------------

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

std::string Twips(LONG pixels, UINT dpi) { return std::to_string(pixels * 1440 / static_cast<LONG>(dpi)); }

TEST_F(MainWindowLayout, FirstRunSavesThePlacementInTwipsAndTheLevel) {
  RECT r{};
  UINT dpi = 96;
  {
    MainWindowHarness w(settings_);
    ASSERT_TRUE(w.Created());
    EXPECT_TRUE(w.MenuBarChecked(IDM_DEBUG_LOGGINGLEVEL0));
    EXPECT_FALSE(w.MenuBarChecked(IDM_DEBUG_LOGGINGLEVEL0 + 1));
    EXPECT_EQ(w.View(), static_cast<DWORD>(LV_VIEW_DETAILS));
    EXPECT_EQ(w.StatusText(), L"リストビューにファイルまたはフォルダを追加してください。");
    EXPECT_EQ(GetFocus(), w.ListView()) << "the list holds the keyboard focus";
    r = WindowRect(w.Main());
    dpi = w.Frm().Dpi();
    w.Close();
    EXPECT_FALSE(IsWindow(w.Main()));
  }
  EXPECT_EQ(settings_.Read("frmMain", "Top"), Twips(r.top, dpi));
  EXPECT_EQ(settings_.Read("frmMain", "Left"), Twips(r.left, dpi));
  EXPECT_EQ(settings_.Read("frmMain", "Width"), Twips(r.right - r.left, dpi));
  EXPECT_EQ(settings_.Read("frmMain", "Height"), Twips(r.bottom - r.top, dpi));
  EXPECT_EQ(settings_.Read("General", "Debuglevel"), "0");
}

TEST_F(MainWindowLayout, StoredPlacementAndLevelAreRestored) {
  struct Case {
    const char* name;
    const char* top;
    const char* left;
    const char* level;
    // The expected outer top and left in twips; -1 keeps the window's own value.
    int expectTop, expectLeft;
    bool checked0, checked1;
    int logLevel;
    const char* levelAfterClose;
  };
  const Case cases[] = {
      {"placement and level 1", "1200", "1500", "1", 1200, 1500, false, true, 1, "1"},
      {"level 7 checks nothing and is kept", "1200", "1500", "7", 1200, 1500, false, false, 0, "7"},
      {"a top that is not a number", "abc", "1500", "0", -1, 1500, true, false, 0, "0"},
      {"a level that is not a number checks nothing and is kept", "1200", "1500", "x", 1200, 1500, false, false, 0, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchSettings settings;
    settings.Write("frmMain", "Top", c.top);
    settings.Write("frmMain", "Left", c.left);
    settings.Write("frmMain", "Width", "9000");
    settings.Write("frmMain", "Height", "6000");
    settings.Write("General", "Debuglevel", c.level);
    MainWindowHarness w(settings);
    ASSERT_TRUE(w.Created());
    const UINT dpi = w.Frm().Dpi();
    const RECT r = WindowRect(w.Main());
    if (c.expectTop >= 0) {
      EXPECT_EQ(r.top, Px(static_cast<float>(c.expectTop), dpi));
    }
    EXPECT_EQ(r.left, Px(static_cast<float>(c.expectLeft), dpi));
    EXPECT_EQ(r.right - r.left, Px(9000, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(6000, dpi));
    ExpectLayout(w, __LINE__);
    EXPECT_EQ(w.MenuBarChecked(IDM_DEBUG_LOGGINGLEVEL0), c.checked0);
    EXPECT_EQ(w.MenuBarChecked(IDM_DEBUG_LOGGINGLEVEL0 + 1), c.checked1);
    EXPECT_EQ(w.DebugLevel(), c.logLevel);
    EXPECT_EQ(!w.LogLines().lines.empty(), c.logLevel == 1) << "the log is set up only at level 1";
    w.Close();
    EXPECT_EQ(settings.Read("General", "Debuglevel"), c.levelAfterClose);
    EXPECT_EQ(settings.Read("frmMain", "Left"), "1500");
    EXPECT_EQ(settings.Read("frmMain", "Width"), "9000");
    EXPECT_EQ(settings.Read("frmMain", "Height"), "6000");
  }
}

// Windows tells a per-monitor aware window that it was moved onto a monitor of another scaling
// with WM_DPICHANGED and the rectangle to take there; screen places stay in the screen's units.
TEST_F(MainWindowLayout, ClosedOnAMonitorOfAnotherScalingItReopensWhereItWasClosed) {
  HDC screenDc = GetDC(nullptr);
  const UINT screenDpi = static_cast<UINT>(GetDeviceCaps(screenDc, LOGPIXELSX));
  ReleaseDC(nullptr, screenDc);
  const UINT otherDpi = screenDpi * 3 / 2;
  RECT there{200, 150, 200 + 1001, 150 + 701};
  {
    MainWindowHarness w(settings_);
    ASSERT_TRUE(w.Created());
    SendMessageW(w.Main(), WM_DPICHANGED, MAKEWPARAM(otherDpi, otherDpi), reinterpret_cast<LPARAM>(&there));
    ASSERT_EQ(w.Frm().Dpi(), otherDpi);
    const RECT moved = WindowRect(w.Main());
    ASSERT_TRUE(EqualRect(&there, &moved));
    ExpectLayout(w, __LINE__);
    w.Close();
  }
  EXPECT_EQ(settings_.Read("frmMain", "Left"), Twips(200, screenDpi));
  EXPECT_EQ(settings_.Read("frmMain", "Top"), Twips(150, screenDpi));
  EXPECT_EQ(settings_.Read("frmMain", "Width"), Twips(1001, screenDpi));
  EXPECT_EQ(settings_.Read("frmMain", "Height"), Twips(701, screenDpi));
  MainWindowHarness again(settings_);
  ASSERT_TRUE(again.Created());
  const RECT r = WindowRect(again.Main());
  EXPECT_TRUE(EqualRect(&r, &there)) << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
}

// Moved onto monitors of every common scaling, the window lays its children out anew, and the
// toolbar's buttons, with pictures of the size drawn for that scaling, stay whole in the strip.
TEST_F(MainWindowLayout, EveryScalingHoldsTheToolbarsButtonsWhole) {
  MainWindowHarness w(settings_);
  ASSERT_TRUE(w.Created());
  RECT there{100, 80, 100 + 900, 80 + 600};
  for (const UINT dpi : {96u, 120u, 144u, 168u, 192u, 96u}) {
    SCOPED_TRACE(dpi);
    SendMessageW(w.Main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&there));
    ASSERT_EQ(w.Frm().Dpi(), dpi);
    ExpectLayout(w, __LINE__);
    const auto size = static_cast<DWORD>(SendMessageW(w.Toolbar(), TB_GETBUTTONSIZE, 0, 0));
    const int pictures = dpi >= 168 ? 32 : dpi >= 120 ? 24 : 16;
    EXPECT_GE(static_cast<int>(HIWORD(size)), pictures + 4) << "room for the picture and a pressed frame";
  }
}

// Before Windows 10 (1607) a window has no scaling of its own: on Windows 7 the window is laid out
// at the system's, here 120 dpi, with the toolbar's pictures drawn for it.
TEST_F(MainWindowLayout, OnWindows7TheSystemsScalingIsTaken) {
  if (!InChildAtSystemDpi(120)) return;
  win32::ScopedNewerWindows windows7(win32::NewerWindows::AsWindows7());
  MainWindowHarness w(settings_);
  ASSERT_TRUE(w.Created());
  ASSERT_EQ(w.Frm().Dpi(), 120u);
  RECT client{};
  GetClientRect(w.Main(), &client);
  EXPECT_EQ(client.right, Px(7920, 120)) << "designed client width";
  EXPECT_EQ(client.bottom, Px(4320, 120)) << "designed client height";
  ExpectLayout(w, __LINE__);
  const auto size = static_cast<DWORD>(SendMessageW(w.Toolbar(), TB_GETBUTTONSIZE, 0, 0));
  EXPECT_GE(static_cast<int>(HIWORD(size)), 24 + 4) << "the pictures of 120 dpi with a pressed frame";
}

TEST_F(MainWindowLayout, PlacementOffEveryWorkAreaFallsBackToTheDefault) {
  RECT fallback{};
  {
    ScratchSettings none;
    MainWindowHarness w(none);
    fallback = WindowRect(w.Main());
  }
  settings_.Write("frmMain", "Top", "300000");
  settings_.Write("frmMain", "Left", "300000");
  settings_.Write("frmMain", "Width", "9000");
  settings_.Write("frmMain", "Height", "6000");
  MainWindowHarness w(settings_);
  const RECT r = WindowRect(w.Main());
  EXPECT_EQ(r.right - r.left, fallback.right - fallback.left) << "the designed size";
  EXPECT_EQ(r.bottom - r.top, fallback.bottom - fallback.top);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT overlap{};
  EXPECT_TRUE(IntersectRect(&overlap, &r, &work)) << "on the screen";
}

// A stored placement wider than any screen and reaching far off its left edge is shrunk to the
// work area: the title bar lies on it, and what the close saves is that placement, not the old.
TEST_F(MainWindowLayout, AHugePlacementIsFittedWithItsTitleBarOnTheScreen) {
  settings_.Write("frmMain", "Top", "1500");
  settings_.Write("frmMain", "Left", "-9000000");
  settings_.Write("frmMain", "Width", "9100000");
  settings_.Write("frmMain", "Height", "6000");
  {
    MainWindowHarness w(settings_);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = WindowRect(w.Main());
    TITLEBARINFO title{sizeof title};
    ASSERT_TRUE(GetTitleBarInfo(w.Main(), &title));
    RECT onScreen{};
    EXPECT_TRUE(IntersectRect(&onScreen, &title.rcTitleBar, &work)) << "the title bar on the screen";
    EXPECT_LE(r.right - r.left, work.right - work.left) << "no wider than the work area";
    EXPECT_GE(r.left, work.left);
    w.Close();
  }
  EXPECT_GE(std::stof(*settings_.Read("frmMain", "Left")), -15.0f) << "the fitted placement is saved";
  EXPECT_LT(std::stof(*settings_.Read("frmMain", "Width")), 9100000.0f);
}

TEST_F(MainWindowLayout, ClosingWhileMaximisedOrMinimisedSavesTheNormalPlacement) {
  for (const int state : {SW_MAXIMIZE, SW_MINIMIZE}) {
    SCOPED_TRACE(state == SW_MAXIMIZE ? "maximised" : "minimised");
    ScratchSettings settings;
    settings.Write("frmMain", "Top", "1200");
    settings.Write("frmMain", "Left", "1500");
    settings.Write("frmMain", "Width", "9000");
    settings.Write("frmMain", "Height", "6000");
    {
      MainWindowHarness w(settings);
      ShowWindow(w.Main(), state);
      w.Pump();
      ASSERT_TRUE(state == SW_MAXIMIZE ? IsZoomed(w.Main()) : IsIconic(w.Main()));
      w.Close();
    }
    EXPECT_EQ(settings.Read("frmMain", "Top"), "1200");
    EXPECT_EQ(settings.Read("frmMain", "Left"), "1500");
    EXPECT_EQ(settings.Read("frmMain", "Width"), "9000");
    EXPECT_EQ(settings.Read("frmMain", "Height"), "6000");
    // And the next run opens there, in the normal state.
    MainWindowHarness again(settings);
    EXPECT_FALSE(IsZoomed(again.Main()));
    EXPECT_FALSE(IsIconic(again.Main()));
    const RECT r = WindowRect(again.Main());
    EXPECT_EQ(r.left, Px(1500, again.Frm().Dpi()));
    EXPECT_EQ(r.top, Px(1200, again.Frm().Dpi()));
  }
}

}  // namespace
}  // namespace velmok::testing
