#pragma once
// lvwPrintFiles: a virtual (owner-data) list view over the print list model. The control asks
// for the texts of the rows it shows. The selection is the control's and nothing else: the current
// entry is its focused item and the selection marks are its selected items; the print list reads
// them from the control when it needs them and changes them there.

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "intake/print_list.h"
#include "mainwindow/main_view.h"
#include "mainwindow/pointer_release.h"
#include "platform/win32/scoped.h"

namespace velmok::win32 {

class PrintListView final : public SelectionStore {
 public:
  // Pointer events for the window's logic. Buttons: 1 left, 2 right, 4 middle.
  struct Events {
    std::function<void(int button)> buttonDown;
    std::function<void(std::size_t index)> itemClick;
    std::function<void(int button)> buttonUp;
    std::function<void(int column)> columnClick;
    // The user changed the selection or the current entry with the keyboard.
    std::function<void()> keyboardSelection;
  };

  PrintListView(PrintList& list, Events events) : list_(list), events_(std::move(events)) {}
  PrintListView(const PrintListView&) = delete;
  PrintListView& operator=(const PrintListView&) = delete;
  ~PrintListView() override;

  bool Create(HWND parent, int id, HINSTANCE instance, UINT dpi);
  HWND Handle() const { return hwnd_; }
  void ApplyDpi(UINT dpi);

  // Creates the four columns from widths in pixels; the third is right-aligned.
  void CreateColumns(const int widthsPx[4]);
  void SetMode(ListMode mode);

  // Shows the model afresh: count, order and texts.
  void Refresh();

  // SelectionStore: the focused item and the selected items.
  std::optional<std::size_t> Current() const override;
  void SetCurrent(std::optional<std::size_t> index) override;
  std::size_t MarkedCount() const override;
  bool IsMarked(std::size_t index) const override;
  std::vector<std::size_t> Marked() const override;
  void SetMarked(std::size_t index, bool marked) override;
  void MarkAll(std::size_t count, bool marked) override;
  void MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) override;

  // WM_NOTIFY from the control; returns true when handled, with the result in `result`.
  bool OnNotify(NMHDR* header, LRESULT& result);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR self) noexcept;
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnGetDispInfo(NMLVDISPINFOW& info);
  // The control changed its focused or selected items, or is about to.
  void OnSelectionChanged();
  // The control has rows for `count` entries.
  void HoldRows(std::size_t count);
  LRESULT Ask(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  int Rows() const;
  int Next(int after, UINT flags) const;
  void SetState(int item, UINT state, UINT mask);
  LRESULT OnFindItem(const NMLVFINDITEMW& find);
  void LoadImages(UINT dpi);
  void ArrangeIcons();
  void Detach();

  PrintList& list_;
  Events events_;
  HWND hwnd_ = nullptr;
  WNDPROC control_ = nullptr;  // the list view's own window procedure
  ScopedImageList large_;
  ScopedImageList small_;
  ScopedGdi font_;
  class ManyMarks;
  bool pushing_ = false;      // our own changes: notifications are not fed back to the model
  int quiet_ = 0;             // changes of many marks under way, one inside another
  PointerRelease release_{[this](int button) {
    if (events_.buttonUp) events_.buttonUp(button);
  }};
  bool keyboardChange_ = false;
  int pressedItem_ = -1;  // the entry under the last left press, or -1
};

}  // namespace velmok::win32
