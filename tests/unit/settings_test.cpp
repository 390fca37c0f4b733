#include "mainwindow/settings.h"

#include <gtest/gtest.h>

#include "app/main_window_log_levels.h"
#include "diagnostics/log_level_menu.h"
#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "mainwindow/layout.h"
#include "mainwindow/placement_fit.h"
#include "resource.h"

namespace velmok {
namespace {

TEST(SettingNumbers, ParseAndFormat) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1230", 1230},   {"-15", -15},  {" 7 ", 7},          {"+3", 3},          {"1.5", 1.5},
      {"1e3", 1000},    {"", {}},      {"abc", {}},         {"1,230", {}},      {"12px", {}},
      {"0x10", {}},     {"inf", {}},   {"nan", {}},         {"1e999", {}},      {"--1", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSettingNumber(c.text), c.value);
  }
  EXPECT_EQ(FormatSettingNumber(1230.0f), "1230");
  EXPECT_EQ(FormatSettingNumber(-7.5f), "-7.5");
  EXPECT_EQ(FormatSettingNumber(0.0f), "0");
  EXPECT_EQ(FormatSettingNumber(1e7f), "10000000") << "no exponent form for whole twips";
}

// A stored placement is shrunk to the work area it lies most on, and its title bar (30 pixels high
// here, 100 of it at least on screen) lands there; one off every work area is not taken.
TEST(Placement, FittedToAWorkAreaWithTheTitleBarOnIt) {
  const std::vector<PixelRect> areas = {{0, 0, 1024, 738}, {1024, 0, 1280, 1000}};
  const struct {
    const char* what;
    PixelRect stored;
    std::optional<PixelRect> fitted;
  } cases[] = {
      {"inside", {100, 100, 800, 600}, PixelRect{100, 100, 800, 600}},
      {"wider than any screen, over both", {-600000, 100, 606666, 500}, PixelRect{1024, 100, 1280, 500}},
      {"wider than its screen", {-600000, 100, 600500, 500}, PixelRect{0, 100, 1024, 500}},
      {"taller than its screen", {50, 40, 600, 2000}, PixelRect{50, 0, 600, 738}},
      {"title bar above the screen", {50, -50, 600, 400}, PixelRect{50, 0, 600, 400}},
      {"title bar below the work area", {50, 730, 600, 400}, PixelRect{50, 708, 600, 400}},
      {"mostly off the left edge", {-790, 100, 800, 400}, PixelRect{-700, 100, 800, 400}},
      {"on the second monitor", {1100, 50, 400, 300}, PixelRect{1100, 50, 400, 300}},
      {"mostly on the second monitor's right edge", {2250, 50, 400, 300}, PixelRect{2204, 50, 400, 300}},
      {"off every work area", {3000, 3000, 400, 300}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FitPlacement(c.stored, areas, 30, 100), c.fitted);
  }
}

TEST(Placement, LoadFallsBackPerKeyAndSaveRoundTrips) {
  fakes::FakeSettingsStore store;
  const PlacementTwips window{1500, 3000, 8100, 5100};
  EXPECT_EQ(LoadPlacement(store, window), window) << "first start: nothing stored";

  store.values[{"frmMain", "Top"}] = "750";
  store.values[{"frmMain", "Left"}] = "not a number";
  store.values[{"frmMain", "Width"}] = "-40";
  store.values[{"frmMain", "Height"}] = "6000";
  EXPECT_EQ(LoadPlacement(store, window), (PlacementTwips{750, 3000, 8100, 6000}));

  store.values.clear();
  SavePlacement(store, {-120, 15, 9000, 4800});
  EXPECT_EQ(store.values.at({"frmMain", "Top"}), "-120");
  EXPECT_EQ(store.values.at({"frmMain", "Left"}), "15");
  EXPECT_EQ(LoadPlacement(store, window), (PlacementTwips{-120, 15, 9000, 4800}));
}

// Monitors of mixed scaling, as a per-monitor aware program sees them: every screen place in
// physical pixels, and the screen's twips per pixel the system's. A window closed anywhere, on a
// monitor of any scaling, opens again on exactly the same pixels.
TEST(Placement, RoundTripOnEveryMonitorWhateverItsScaling) {
  struct Monitor {
    const char* name;
    PixelRect window;  // where the window was closed
  };
  const Monitor monitors[] = {
      {"primary", {120, 80, 700, 500}},
      {"right, 150 %", {1920 + 333, 41, 1051, 751}},
      {"left, 175 %, negative places", {-2561, -7, 1387, 877}},
      {"above, 125 %, far out", {5, -1441, 999, 633}},
      {"a wide desk", {11519, 2159, 3839, 2159}},
  };
  const unsigned systemDpis[] = {96, 120, 144, 168, 192, 240};
  for (const unsigned dpi : systemDpis) {
    const TwipsFactors screen = ScreenTwipsFactors(dpi, dpi);
    for (const auto& m : monitors) {
      SCOPED_TRACE(std::string(m.name) + " at system dpi " + std::to_string(dpi));
      fakes::FakeSettingsStore store;
      SavePlacement(store, TwipsFromPixels(m.window, screen));
      const PlacementTwips loaded = LoadPlacement(store, TwipsFromPixels({0, 0, 528, 288}, screen));
      EXPECT_EQ(PixelsFromTwips(loaded, screen), m.window);
    }
  }
  EXPECT_EQ(PixelsFromTwips({1800, 2250, 10500, 7500}, ScreenTwipsFactors(96, 96)), (PixelRect{150, 120, 700, 500}));
  EXPECT_EQ(PixelsFromTwips({1800, 2250, 10500, 7500}, ScreenTwipsFactors(144, 96)), (PixelRect{225, 120, 1050, 500}))
      << "the horizontal factor for left and width, the vertical one for top and height";
}

TEST(LogLevelSettings, RestoreAndSaveVisitTheItems) {
  struct Case {
    const char* stored;  // nullptr: missing
    bool checked0, checked1;
    int level;
    std::size_t fileLines;
    const char* savedAfter;
  };
  const Case cases[] = {
      {nullptr, true, false, 0, 0, "0"},
      {"0", true, false, 0, 0, "0"},
      {"1", false, true, 1, 2, "1"},
      {"1.0", false, true, 1, 2, "1"},
      {"7", false, false, 0, 0, "7"},     // matches no item: both unchecked, and 7 stays
      {"-0", true, false, 0, 0, "0"},
      // Not a number: it equals no item either, so nothing is checked and the text stays.
      {"abc", false, false, 0, 0, "abc"},
      {"", false, false, 0, 0, ""},
      {"1x", false, false, 0, 0, "1x"},
      {"0x1", false, false, 0, 0, "0x1"},
      {"１", false, false, 0, 0, "１"},
      {"nan", false, false, 0, 0, "nan"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    fakes::FakeSettingsStore store;
    if (c.stored) store.values[{"General", "Debuglevel"}] = c.stored;
    fakes::FakeMainView view;
    fakes::FakeLogFile file;
    fakes::FakeDebuggerOutput debugger;
    fakes::FakeClock clock;
    DebugLog log(file, debugger, clock);
    MainWindowLogLevels items(view, store);
    LogLevelMenu menu(items);
    RestoreLogLevel(menu, log);
    EXPECT_EQ(view.IsChecked(IDM_DEBUG_LOGGINGLEVEL0), c.checked0);
    EXPECT_EQ(view.IsChecked(IDM_DEBUG_LOGGINGLEVEL0 + 1), c.checked1);
    EXPECT_EQ(log.DebugLevel(), c.level);
    EXPECT_EQ(file.lines.size(), c.fileLines);
    SaveLogLevel(menu);
    EXPECT_EQ(store.Read("General", "Debuglevel"), std::optional<std::string>(c.savedAfter));
  }
}

TEST(LogLevelMenu, ChoosingAnItem) {
  struct Case {
    const char* name;
    int levelBefore;       // -1: no item checked (the stored level matched none)
    int chosen;
    std::size_t linesWritten;
  };
  const Case cases[] = {
      {"off to on", 0, 1, 2},
      {"on to off", 1, 0, 0},
      {"on again", 1, 1, 0},
      {"off again", 0, 0, 0},
      {"nothing checked, choose off", -1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeMainView view;
    fakes::FakeLogFile file;
    fakes::FakeDebuggerOutput debugger;
    fakes::FakeClock clock;
    DebugLog log(file, debugger, clock);
    fakes::FakeSettingsStore store;
    MainWindowLogLevels items(view, store);
    LogLevelMenu menu(items);
    if (c.levelBefore >= 0) {
      log.InitDebugLog(c.levelBefore);
      menu.SetChecked(c.levelBefore, true);
    }
    file.lines.clear();
    mnuDebug_LoggingLevel_Click(c.chosen, menu, log);
    EXPECT_EQ(log.DebugLevel(), c.chosen);
    EXPECT_EQ(file.lines.size(), c.linesWritten);
    EXPECT_EQ(menu.IsChecked(c.chosen), true);
    EXPECT_EQ(menu.IsChecked(1 - c.chosen), false);
  }
}

TEST(MainLayout, ListFillsBetweenStripAndStatusBarNeverNegative) {
  struct Case {
    int w, h;
    float tx;
    float listHeight;
  };
  const Case cases[] = {
      {528, 288, 15, 288 * 15 - 495 - 300},
      {528, 40, 15, 0},      // smaller than strip plus status bar
      {0, 0, 15, 0},
      {792, 432, 10, 432 * 10 - 495 - 300},  // 144 dpi
  };
  for (const auto& c : cases) {
    const MainLayout l = LayOutMainWindow(c.w, c.h, c.tx, c.tx, kStripHeightTw, 300);
    EXPECT_FLOAT_EQ(l.listHeight, c.listHeight);
    EXPECT_FLOAT_EQ(l.listWidth, static_cast<float>(c.w) * c.tx);
    EXPECT_FLOAT_EQ(l.lineX2, l.listWidth);
    EXPECT_FLOAT_EQ(l.listTop, kStripHeightTw);
  }
  const auto widths = ColumnWidths(7920);
  EXPECT_FLOAT_EQ(widths[0], 2376);
  EXPECT_FLOAT_EQ(widths[1], 1584);
  EXPECT_FLOAT_EQ(widths[2], 792);
  EXPECT_FLOAT_EQ(widths[3], 3168);
}

}  // namespace
}  // namespace velmok
