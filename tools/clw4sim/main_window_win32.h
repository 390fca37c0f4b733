#pragma once
// The simulator's main window, class "CLW4MainClass": its title names the open document and its
// client area shows the document and what the program is doing. It also carries the timers and
// receives documents handed over by a second start of the program.

#include <string>
#include <string_view>
#include <vector>

#include "clw4sim/simulator.h"
#include "clw4sim/window_win32.h"

namespace clw4sim {

// WM_COPYDATA tag of a document path (UTF-16) handed over by another start of the program.
inline constexpr ULONG_PTR kHandOverTag = 0x434C5734;  // "CLW4"

class MainWindow final : public Window {
 public:
  class Events {
   public:
    virtual ~Events() = default;
    virtual void OnTimerElapsed(Timer timer) = 0;
    virtual void OnHandedOver(const std::string& path) = 0;
    // The main window became active (the windows above it may want the activation).
    virtual void OnActivated() = 0;
    virtual void OnCloseRequested() = 0;
  };

  explicit MainWindow(Events& events) : events_(events) {}
  bool Create();
  void ShowDocument(const Document* document);
  void ShowStatus(std::string_view status);
  void StartTimer(Timer timer, unsigned ms);
  // Takes the foreground (and the keyboard) after `ms` milliseconds.
  void TakeForegroundAfter(unsigned ms);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  void Paint();
  void Refresh();

  Events& events_;
  std::string documentName_;
  std::string documentPath_;
  std::string status_;
  std::vector<std::wstring> handedOver_;
};

}  // namespace clw4sim
