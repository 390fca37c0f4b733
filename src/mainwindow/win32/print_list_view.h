#pragma once
// lvwPrintFiles: a virtual (owner-data) list view over the print list model. The control asks
// for the texts of the rows it shows; the selection marks are kept in step with the model in both
// directions. The current entry is the control's focused item and nothing else: the print list
// reads it from the control and moves it there.

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "intake/print_list.h"
#include "mainwindow/main_view.h"
#include "mainwindow/pointer_release.h"
#include "platform/win32/scoped.h"

namespace velmok::win32 {

class PrintListView final : public CurrentEntryStore {
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

  // Shows the model afresh: count, order, texts and selection marks.
  void Refresh();

  // CurrentEntryStore: the focused item.
  std::optional<std::size_t> Get() const override;
  void Set(std::optional<std::size_t> index) override;

  // WM_NOTIFY from the control; returns true when handled, with the result in `result`.
  bool OnNotify(NMHDR* header, LRESULT& result);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR self) noexcept;
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnGetDispInfo(NMLVDISPINFOW& info);
  void OnItemChanged(const NMLISTVIEW& change);
  void OnStateChanged(const NMLVODSTATECHANGE& change);
  void SettleMarks();
  void ReadMarksFromControl();
  LRESULT OnFindItem(const NMLVFINDITEMW& find);
  void LoadImages(UINT dpi);
  void ArrangeIcons();
  void Detach();

  PrintList& list_;
  Events events_;
  HWND hwnd_ = nullptr;
  ScopedImageList large_;
  ScopedImageList small_;
  ScopedGdi font_;
  bool pushing_ = false;      // our own changes: notifications are not fed back to the model
  PointerRelease release_{[this](int button) {
    SettleMarks();
    if (events_.buttonUp) events_.buttonUp(button);
  }};
  bool keyboardChange_ = false;
  bool marksReported_ = false;  // the control reported a change of marks not yet read back
  int depth_ = 0;               // messages of the control being handled, one inside another
};

}  // namespace velmok::win32
