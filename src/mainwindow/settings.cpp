#include "mainwindow/settings.h"

#include <charconv>
#include <cmath>

#include "mainwindow/layout.h"

namespace velmok {

namespace {

constexpr double kLargestTwips = 1.0e7;  // about 7 km of screen

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

float Load(platform::SettingsStore& store, std::string_view key, float current, bool mustBePositive) {
  const auto text = store.Read(kPlacementSection, key);
  if (!text) return current;
  const auto value = ParseSettingNumber(*text);
  if (!value || std::fabs(*value) > kLargestTwips || (mustBePositive && *value <= 0)) return current;
  return static_cast<float>(*value);
}

}  // namespace

std::optional<double> ParseSettingNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // Only plain decimal forms: digits, one point, an exponent.
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E')) return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatSettingNumber(float value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

TwipsFactors ScreenTwipsFactors(unsigned dpiX, unsigned dpiY) { return {TwipsPerPixel(dpiX), TwipsPerPixel(dpiY)}; }

PlacementTwips TwipsFromPixels(const PixelRect& r, TwipsFactors f) {
  return {static_cast<float>(r.top) * f.y, static_cast<float>(r.left) * f.x, static_cast<float>(r.width) * f.x,
          static_cast<float>(r.height) * f.y};
}

PixelRect PixelsFromTwips(const PlacementTwips& p, TwipsFactors f) {
  auto px = [](float twips, float perPixel) { return static_cast<int>(std::lround(twips / perPixel)); };
  return {px(p.left, f.x), px(p.top, f.y), px(p.width, f.x), px(p.height, f.y)};
}

PlacementTwips LoadPlacement(platform::SettingsStore& store, const PlacementTwips& current) {
  PlacementTwips p = current;
  p.top = Load(store, "Top", current.top, false);
  p.left = Load(store, "Left", current.left, false);
  p.width = Load(store, "Width", current.width, true);
  p.height = Load(store, "Height", current.height, true);
  return p;
}

void SavePlacement(platform::SettingsStore& store, const PlacementTwips& placement) {
  store.Write(kPlacementSection, "Top", FormatSettingNumber(placement.top));
  store.Write(kPlacementSection, "Left", FormatSettingNumber(placement.left));
  store.Write(kPlacementSection, "Width", FormatSettingNumber(placement.width));
  store.Write(kPlacementSection, "Height", FormatSettingNumber(placement.height));
}

std::optional<double> ReadStoredLogLevel(platform::SettingsStore& store) {
  const auto text = store.Read(kGeneralSection, kDebugLevelKey);
  if (!text) return 0;
  return ParseSettingNumber(*text);
}

}  // namespace velmok
