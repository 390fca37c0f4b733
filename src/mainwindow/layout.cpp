#include "mainwindow/layout.h"

namespace velmok {

MainLayout LayOutMainWindow(int clientWidthPx, int clientHeightPx, float tx, float ty, float stripHeightTw,
                            float statusHeightTw) {
  MainLayout l;
  const float width = static_cast<float>(clientWidthPx) * tx;
  l.lineX2 = width;
  l.stripLeft = 0;
  l.stripWidth = width;
  l.listTop = stripHeightTw;
  l.listLeft = 0;
  l.listWidth = width;
  const float h = static_cast<float>(clientHeightPx) * ty - statusHeightTw - stripHeightTw;
  l.listHeight = h < 0 ? 0 : h;
  return l;
}

std::array<float, 4> ColumnWidths(float listWidthTw) {
  const float tenth = listWidthTw / 10.0f;
  return {tenth * 3, tenth * 2, tenth * 1, tenth * 4};
}

}  // namespace velmok
