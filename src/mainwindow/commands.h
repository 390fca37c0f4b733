#pragma once
// The main window's commands. Menu items, pop-up items, accelerators and toolbar buttons all
// arrive as WM_COMMAND with these identifiers (res/resource.h); the toolbar's buttons are routed
// by their keys.

#include <array>
#include <optional>
#include <string_view>

#include "resource.h"

namespace velmok {

// The items of the Debug menu's log submenu (記録しない, 記録する).
inline constexpr int kLogLevelItems = 2;

enum class ToolbarButtonKind { Plain, Check, Separator };

struct ToolbarButton {
  int id;                 // 0 for a separator
  std::string_view key;   // "New", "Property", ...
  ToolbarButtonKind kind;
  int tipStringId;
  int imageIndex;         // index in the toolbar picture strip
};

// The keys of the toolbar pictures, in the order of the picture strip.
inline constexpr std::array<std::string_view, 12> kToolbarImageKeys = {
    "Delete", "Property", "New", "Inet", "Info", "Mail", "Paste", "Print", "VW_Detail", "VW_List", "VW_Large", "VW_Small"};

// The 17 positions of the toolbar, left to right.
inline constexpr std::array<ToolbarButton, 17> kToolbarButtons = {{
    {IDT_NEW, "New", ToolbarButtonKind::Plain, IDS_TIP_NEW, 2},
    {0, "", ToolbarButtonKind::Separator, 0, -1},
    {IDT_PROPERTY, "Property", ToolbarButtonKind::Plain, IDS_TIP_PROPERTY, 1},
    {0, "", ToolbarButtonKind::Separator, 0, -1},
    {IDT_PRINT, "Print", ToolbarButtonKind::Plain, IDS_TIP_PRINT, 7},
    {0, "", ToolbarButtonKind::Separator, 0, -1},
    {IDT_DELETE, "Delete", ToolbarButtonKind::Plain, IDS_TIP_DELETE, 0},
    {IDT_PASTE, "Paste", ToolbarButtonKind::Plain, IDS_TIP_PASTE, 6},
    {0, "", ToolbarButtonKind::Separator, 0, -1},
    {IDT_VW_LARGE, "VW_Large", ToolbarButtonKind::Check, IDS_TIP_VW_LARGE, 10},
    {IDT_VW_SMALL, "VW_Small", ToolbarButtonKind::Check, IDS_TIP_VW_SMALL, 11},
    {IDT_VW_LIST, "VW_List", ToolbarButtonKind::Check, IDS_TIP_VW_LIST, 9},
    {IDT_VW_DETAIL, "VW_Detail", ToolbarButtonKind::Check, IDS_TIP_VW_DETAIL, 8},
    {0, "", ToolbarButtonKind::Separator, 0, -1},
    {IDT_MAIL, "Mail", ToolbarButtonKind::Plain, IDS_TIP_MAIL, 5},
    {IDT_INET, "Inet", ToolbarButtonKind::Plain, IDS_TIP_INET, 3},
    {IDT_INFO, "Info", ToolbarButtonKind::Plain, IDS_TIP_INFO, 4},
}};

// The key of a toolbar button, "" for an unknown identifier.
std::string_view ToolbarKeyOf(int buttonId);

// The command a toolbar button's key stands for: the keys are compared exactly, in the order
// New, Property, Print, Delete, Paste, the four views, Mail, Inet, Info; the first equal key
// decides. nullopt for a key that matches none.
std::optional<int> RouteToolbarKey(std::string_view key);

// The command behind an element: a pop-up item performs its menu twin's command.
int MenuTwinOf(int id);

// The view buttons and view menu items by view index 0..3 (large, small, list, details).
inline constexpr std::array<int, 4> kViewButtons = {IDT_VW_LARGE, IDT_VW_SMALL, IDT_VW_LIST, IDT_VW_DETAIL};

}  // namespace velmok
