#pragma once
// What the main window keeps in the per-user settings: its placement (section "frmMain", twips)
// and the log level (section "General", key "Debuglevel").

#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace velmok {

inline constexpr std::string_view kPlacementSection = "frmMain";
inline constexpr std::string_view kGeneralSection = "General";
inline constexpr std::string_view kDebugLevelKey = "Debuglevel";

// A decimal number as the settings hold it ("1230", "-15", "1.5", " 7 "); nullopt for anything
// else, including an empty text, grouping, and infinities.
std::optional<double> ParseSettingNumber(std::string_view text);
// The shortest decimal form of a single-precision number, without grouping ("1230", "-7.5").
std::string FormatSettingNumber(float value);

// The window's outer rectangle in twips.
struct PlacementTwips {
  float top = 0;
  float left = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const PlacementTwips&, const PlacementTwips&) = default;
};

// The screen's twips per pixel, horizontally and vertically. With monitors of different scaling
// the screen's factors are the system's, the same on every monitor, so that a place saved on one
// monitor and read back on another is the same place in screen pixels.
struct TwipsFactors {
  float x = 15;
  float y = 15;
};
TwipsFactors ScreenTwipsFactors(unsigned dpiX, unsigned dpiY);

// A window's outer rectangle in screen pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};
PlacementTwips TwipsFromPixels(const PixelRect& rect, TwipsFactors factors);
// Rounded to the nearest pixel.
PixelRect PixelsFromTwips(const PlacementTwips& placement, TwipsFactors factors);

// Reads "Top", "Left", "Width", "Height" in this order, each defaulting to the window's own value;
// a stored value that is not a number keeps the window's value, and so does a width or height
// that is not positive or a value too large to be a place on any screen.
PlacementTwips LoadPlacement(platform::SettingsStore& store, const PlacementTwips& current);
void SavePlacement(platform::SettingsStore& store, const PlacementTwips& placement);

// The stored log level, read afresh: 0 when it is missing, nullopt when it is not a number (it
// then equals no level).
std::optional<double> ReadStoredLogLevel(platform::SettingsStore& store);

}  // namespace velmok
