#include "clw4sim/main_window_win32.h"

#include "clw4sim/texts.h"
#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::Widen;

namespace {

constexpr UINT kActivatedMessage = WM_APP + 1;
constexpr UINT kHandedOverMessage = WM_APP + 2;
constexpr UINT_PTR kFirstTimerId = 100;
constexpr UINT_PTR kForegroundTimerId = 99;

UINT_PTR TimerId(Timer timer) { return kFirstTimerId + static_cast<UINT_PTR>(timer); }

}  // namespace

bool MainWindow::Create() {
  const std::wstring className = Widen(texts::kMainClass);
  RECT bounds{40, 40, 40 + 720, 40 + 420};
  return CreateAs(className.c_str(), 0, WS_OVERLAPPEDWINDOW, Widen(texts::kMainTitle), bounds, nullptr);
}

void MainWindow::ShowDocument(const Document* document) {
  documentName_ = document ? document->name : std::string();
  documentPath_ = document ? document->path : std::string();
  SetTitle(Handle(), texts::MainTitle(documentName_));
  Refresh();
}

void MainWindow::ShowStatus(std::string_view status) {
  status_ = std::string(status);
  Refresh();
}

void MainWindow::StartTimer(Timer timer, unsigned ms) { SetTimer(Handle(), TimerId(timer), ms, nullptr); }

void MainWindow::TakeForegroundAfter(unsigned ms) { SetTimer(Handle(), kForegroundTimerId, ms, nullptr); }

void MainWindow::Refresh() {
  InvalidateRect(Handle(), nullptr, TRUE);
  // Painted at once, so that even a program that stops answering shows its last state.
  UpdateWindow(Handle());
}

void MainWindow::Paint() {
  std::vector<std::string> lines;
  lines.push_back(std::string(texts::kMainTitle) + " " + std::string(texts::kSimulatorNote));
  if (documentName_.empty()) {
    lines.push_back(std::string(texts::kNoDocument));
  } else {
    lines.push_back(std::string(texts::kDocumentLabel) + documentName_);
    lines.push_back(documentPath_);
  }
  lines.push_back(std::string(texts::kStatusLabel) + status_);
  PaintLines(Handle(), lines);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER: {
      KillTimer(Handle(), wParam);
      if (wParam == kForegroundTimerId) {
        SetForegroundWindow(Handle());
        SetFocus(Handle());
        return 0;
      }
      if (wParam >= kFirstTimerId && wParam <= TimerId(Timer::FrameDue))
        events_.OnTimerElapsed(static_cast<Timer>(wParam - kFirstTimerId));
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!data || data->dwData != kHandOverTag || !data->lpData) return FALSE;
      handedOver_.emplace_back(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
      // Answer the sender first; the document opens afterwards.
      PostMessageW(Handle(), kHandedOverMessage, 0, 0);
      return TRUE;
    }
    case kHandedOverMessage: {
      std::vector<std::wstring> paths;
      paths.swap(handedOver_);
      for (const auto& path : paths) events_.OnHandedOver(velmok::win32::Narrow(path));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(Handle(), kActivatedMessage, 0, 0);
      break;
    case kActivatedMessage:
      events_.OnActivated();
      return 0;
    case WM_CLOSE:
      events_.OnCloseRequested();
      return 0;
    case WM_SYSCOMMAND:
      // No menu mode from a lone Alt or F10: the keys go on reaching the message loop.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace clw4sim
