#pragma once
// Where a stored placement may take the window: never wholly off the screen, the title bar always
// on a monitor, whatever the settings hold (a placement saved on a larger monitor that is gone, or
// values edited by hand).

#include <optional>
#include <vector>

#include "mainwindow/settings.h"

namespace velmok {

// `stored` fitted to the work area it overlaps most (screen pixels): shrunk where it is larger
// than that work area, then moved as little as needed for its title bar (the top `titleHeight`
// pixels) to lie on it, at least `grip` pixels of it wide. nullopt when it overlaps no work area
// at all: the window keeps the place the window system gives it.
std::optional<PixelRect> FitPlacement(const PixelRect& stored, const std::vector<PixelRect>& workAreas,
                                      int titleHeight, int grip);

}  // namespace velmok
