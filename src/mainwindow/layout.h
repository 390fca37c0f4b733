#pragma once
// The main window's geometry, in twips as designed, converted with the screen's twips per pixel.

#include <array>

namespace velmok {

inline constexpr float kDesignClientWidthTw = 7920;
inline constexpr float kDesignClientHeightTw = 4320;
inline constexpr float kStripHeightTw = 495;
inline constexpr float kToolbarTopTw = 90;
inline constexpr float kToolbarHeightTw = 330;

inline float TwipsPerPixel(unsigned dpi) { return 1440.0f / static_cast<float>(dpi == 0 ? 96 : dpi); }

struct MainLayout {
  float lineX2 = 0;       // both etched lines run from 0 to here
  float stripLeft = 0;
  float stripWidth = 0;
  float listTop = 0;
  float listLeft = 0;
  float listWidth = 0;
  float listHeight = 0;   // never negative
};

// The children's places for a client area of the given pixel size; the status bar's height and
// the strip's height are in twips.
MainLayout LayOutMainWindow(int clientWidthPx, int clientHeightPx, float tx, float ty, float stripHeightTw,
                            float statusHeightTw);

// The four column widths (twips) for a list of the given width: 3/10, 2/10, 1/10 and 4/10.
std::array<float, 4> ColumnWidths(float listWidthTw);

}  // namespace velmok
