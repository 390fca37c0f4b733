#pragma once
// The main window's outer rectangle in twips, as the settings keep it.

#include <windows.h>

#include <vector>

#include "mainwindow/settings.h"

namespace velmok::win32 {

// The window's normal (restored) rectangle in screen twips, also while it is minimised or
// maximised.
PlacementTwips NormalPlacementTwips(HWND window, TwipsFactors screen);

// Moves and sizes the window to `placement`, fitted to the work area it lies most on with its title
// bar there. A rectangle that lies entirely outside every monitor's work area (a monitor that is
// gone) is not applied; returns false then.
bool ApplyPlacementTwips(HWND window, const PlacementTwips& placement, TwipsFactors screen);

// The screen's twips per pixel: the system's scaling, whatever monitor a window is on.
TwipsFactors ScreenTwipsFactors();

// Every monitor's work area, in screen pixels.
std::vector<PixelRect> WorkAreas();

}  // namespace velmok::win32
