#pragma once

#include <functional>
#include <map>
#include <string>

#include "intake/print_list.h"
#include "mainwindow/command_state.h"
#include "mainwindow/main_view.h"

namespace velmok::fakes {

// The main window, which the intake shows its work in too. RefreshMenus recomputes the states of
// `list` as the window's logic does; CommandsFollow hands it to an intake.
class FakeMainView final : public MainView {
 public:
  const PrintList* list = nullptr;
  std::map<int, bool> enabled;
  std::map<int, bool> checked;
  ListMode mode = ListMode::Details;
  std::string status;
  int listChanges = 0;
  int statusRepaints = 0;
  int searchesBegun = 0;
  int searchTicks = 0;
  std::function<void()> onSearchTick;
  int popups = 0;
  int closes = 0;
  std::vector<bool> busyCalls;

  // Missing entries count as enabled and unchecked, as every element starts.
  bool IsEnabled(int id) const {
    const auto it = enabled.find(id);
    return it == enabled.end() || it->second;
  }
  bool IsChecked(int id) const {
    const auto it = checked.find(id);
    return it != checked.end() && it->second;
  }

  void SetEnabled(int id, bool on) override { enabled[id] = on; }
  void SetChecked(int id, bool on) override { checked[id] = on; }
  void SetListMode(ListMode m) override { mode = m; }
  void SetStatusText(std::string_view text) override { status = text; }
  void ShowSearchStatus(std::string_view text) override {
    status = text;
    ++statusRepaints;
  }
  void BeginSearch() override { ++searchesBegun; }
  void SearchGoesOn() override {
    ++searchTicks;
    if (onSearchTick) onSearchTick();
  }
  void ListChanged() override { ++listChanges; }
  void SetBusy(bool busy) override { busyCalls.push_back(busy); }
  void ShowPopupMenu() override { ++popups; }
  void RefreshMenus() {
    if (list) velmok::RefreshMenus(*list, [this](int id, bool on) { SetEnabled(id, on); });
  }
  std::function<void()> CommandsFollow() {
    return [this] { RefreshMenus(); };
  }
  void CloseWindow() override { ++closes; }
};

}  // namespace velmok::fakes
