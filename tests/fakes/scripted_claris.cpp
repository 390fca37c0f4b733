#include "fakes/scripted_claris.h"

#include "platform/key_notation.h"
#include "platform/utf8.h"

namespace velmok::fakes {

namespace {

constexpr const char* kMainTitle = "ｸﾗﾘｽﾜｰｸｽ 4.0";
constexpr const char* kUntitled = "名称未設定 ";

// Typed text: characters only, no shortcut and no named key.
bool IsText(const std::string& notation, std::string& characters) {
  const auto strokes = ParseKeyNotation(notation);
  if (!strokes || strokes->empty()) return false;
  characters.clear();
  for (const auto& stroke : *strokes) {
    if (stroke.modifiers != 0 || stroke.key != NamedKey::None) return false;
    AppendUtf8(characters, stroke.character);
  }
  return true;
}

}  // namespace

ScriptedClaris::ScriptedClaris(FakeWindowSystem& windows, FakeClock& clock, FakeKeyboard& keyboard)
    : windows_(windows), clock_(clock) {
  keyboard.desk = &windows;
  keyboard.onSend = [this](const FakeKeyboard::Sent& sent) { OnKeys(sent); };
  clock.onSleep = [this](int) { Advance(); };
}

std::string ScriptedClaris::NameOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ScriptedClaris::Owns(platform::WindowId window) const {
  return window != platform::kNoWindow && (window == main_ || window == dialog_ || window == printing_);
}

bool ScriptedClaris::Busy() const {
  switch (state_) {
    case State::DialogComing: case State::Opening: case State::Printing: case State::Closing: case State::Quitting:
      return true;
    default:
      return false;
  }
}

bool ScriptedClaris::Faulty(const char* step) const {
  return neverAnswers.count(step) != 0 && (faultDocument == 0 || faultDocument == ordinal_);
}

void ScriptedClaris::At(int delayMs, std::function<void()> action) {
  if (delayMs <= 0) {
    action();
    return;
  }
  timeline_.emplace(clock_.sleptMs + delayMs, std::move(action));
}

void ScriptedClaris::Advance() {
  while (!timeline_.empty() && timeline_.begin()->first <= clock_.sleptMs) {
    auto action = std::move(timeline_.begin()->second);
    timeline_.erase(timeline_.begin());
    action();
    TakePending();
  }
}

// A window of its own: it takes the foreground only while the program is in front, as Windows
// lets a program in the background show a window but not activate it.
platform::WindowId ScriptedClaris::Show(const std::string& title, bool activate) {
  // A program that has just started (its frame not yet shown) may take the foreground too.
  const bool inFront = windows_.foreground == platform::kNoWindow || Owns(windows_.foreground) || frameHidden_;
  const auto id = windows_.Add({"CLW4Dialog", title, kProcess});
  if (activate && inFront) windows_.foreground = id;
  return id;
}

void ScriptedClaris::Hide(platform::WindowId& window) {
  if (window == platform::kNoWindow) return;
  const bool wasInFront = windows_.foreground == window;
  windows_.Remove(window);
  window = platform::kNoWindow;
  if (wasInFront && main_ != platform::kNoWindow) windows_.foreground = frameHidden_ ? underneath : main_;
}

void ScriptedClaris::Activate() {
  if (main_ == platform::kNoWindow) return;
  if (dialog_ != platform::kNoWindow)
    windows_.foreground = dialog_;
  else
    windows_.foreground = frameHidden_ ? underneath : main_;
}

void ScriptedClaris::Crash() {
  for (platform::WindowId* w : {&dialog_, &printing_, &main_})
    if (*w != platform::kNoWindow) {
      windows_.Remove(*w);
      *w = platform::kNoWindow;
    }
  timeline_.clear();
  pending_.clear();
  documents_.clear();
  state_ = State::None;
}

void ScriptedClaris::ShowTitle() {
  if (main_ == platform::kNoWindow) return;
  windows_.windows[main_].title =
      documents_.empty() ? std::string(kMainTitle) : std::string(kMainTitle) + " - [" + documents_.back().name + "]";
}

void ScriptedClaris::Launch(const std::string& path) {
  ordinal_ = 1;
  if (main_ != platform::kNoWindow) {
    // Already running: the document is handed over, if it has time for it.
    if (state_ == State::Idle && dialog_ == platform::kNoWindow) BeginOpen(path);
    return;
  }
  if (Faulty("launch")) return;
  At(launchMs, [this, path] {
    main_ = windows_.Add({"CLW4MainClass", kMainTitle, kProcess});
    // A read-only document's warning may come before the frame is shown.
    frameHidden_ = warningBeforeFrameMs >= 0 && readOnly.count(NameOf(path)) != 0;
    if (!frameHidden_) windows_.foreground = main_;
    state_ = State::Idle;
    BeginOpen(path);
  });
}

void ScriptedClaris::BeginOpen(const std::string& path) {
  state_ = State::Opening;
  opening_ = {path, NameOf(path), modified.count(NameOf(path)) != 0};
  opened.push_back(path);
  if (Faulty("open")) return;
  if (readOnly.count(opening_.name)) {
    warningsLeft_ = readOnlyRepeats;
    At(openMs, [this] {
      dialog_ = Show("警告");
      state_ = State::ReadOnlyWarning;
    });
  } else {
    At(openMs, [this] { FinishOpen(); });
  }
}

void ScriptedClaris::FinishOpen() {
  documents_.push_back(opening_);
  ShowTitle();
  state_ = State::Idle;
}

void ScriptedClaris::BeginClose() {
  if (documents_.back().modified) {
    state_ = State::DialogComing;
    At(dialogMs, [this] {
      dialog_ = Show("警告");
      state_ = State::SaveWarning;
    });
    return;
  }
  state_ = State::Closing;
  At(closeMs, [this] { FinishClose(); });
}

void ScriptedClaris::FinishClose() {
  documents_.pop_back();
  ShowTitle();
  state_ = State::Idle;
  if (quitting_) BeginQuit();
}

void ScriptedClaris::BeginQuit() {
  quitting_ = true;
  if (!documents_.empty()) {
    BeginClose();
    return;
  }
  state_ = State::Quitting;
  auto end = [this] {
    windows_.Remove(main_);
    main_ = platform::kNoWindow;
    frameHidden_ = false;
    state_ = State::None;
  };
  if (hidesFrameBeforeEndMs < 0) {
    At(quitMs, end);
    return;
  }
  // The frame goes at once, the process a while later.
  frameHidden_ = true;
  if (windows_.foreground == main_) windows_.foreground = underneath;
  At(hidesFrameBeforeEndMs, end);
}

void ScriptedClaris::OnKeys(const FakeKeyboard::Sent& sent) {
  // Keys reach the window in front; those that went to another program's are none of its business.
  if (!Owns(windows_.foreground)) return;
  keys.push_back(sent.notation);
  if (Busy()) {
    pending_.push_back({sent.notation});
    return;
  }
  Take(sent.notation);
}

void ScriptedClaris::TakePending() {
  while (!pending_.empty() && !Busy() && main_ != platform::kNoWindow) {
    const std::string k = pending_.front().notation;
    pending_.erase(pending_.begin());
    Take(k);
  }
}

void ScriptedClaris::Take(const std::string& k) {
  const platform::WindowId front = windows_.foreground;
  std::string text;
  switch (state_) {
    case State::Idle:
      // While a dialog is open, the main window takes nothing.
      if (front == main_ && dialog_ == platform::kNoWindow) TakeInIdle(k);
      else Stray(k);
      return;
    case State::OpenDialog:
      if (front != dialog_) break;
      if (k == "{ENTER}") {
        Hide(dialog_);
        BeginOpen(typed_);
        return;
      }
      if (IsText(k, text)) {
        typed_ += text;
        return;
      }
      break;
    case State::ReadOnlyWarning:
      if (front != dialog_ || k != "{ENTER}") break;
      Hide(dialog_);
      if (warningsLeft_-- > 0) {
        state_ = State::Opening;
        At(warningRepeatMs, [this] {
          dialog_ = Show("警告");
          state_ = State::ReadOnlyWarning;
        });
      } else if (frameHidden_) {
        // The frame comes a while later, and takes the foreground back from whoever got it.
        state_ = State::Opening;
        At(warningBeforeFrameMs, [this] {
          frameHidden_ = false;
          if (windows_.foreground == underneath || windows_.foreground == platform::kNoWindow)
            windows_.foreground = main_;
          FinishOpen();
        });
      } else {
        FinishOpen();
      }
      return;
    case State::PrintDialog: {
      if (front != dialog_ || k != "{ENTER}") break;
      Hide(dialog_);
      state_ = State::Printing;
      if (Faulty("printing")) return;
      printing_ = Show("クラリスワークス印刷", /*activate=*/false);
      auto finish = [this] {
        Hide(printing_);
        printed.push_back(documents_.empty() ? std::string() : documents_.back().path);
        state_ = State::Idle;
      };
      if (printingBlink)
        finish();  // there and gone before anyone looks
      else
        At(printMs, finish);
      return;
    }
    case State::SaveWarning:
      if (front != dialog_ || k != "^n") break;
      Hide(dialog_);
      state_ = State::Closing;
      At(closeMs, [this] { FinishClose(); });
      return;
    default:
      break;
  }
  Stray(k);
}

void ScriptedClaris::TakeInIdle(const std::string& k) {
  std::string text;
  if (k == "^o") {
    ++ordinal_;
    if (Faulty("opendialog")) return Stray(k);
    state_ = State::DialogComing;
    At(dialogMs, [this] {
      dialog_ = Show("開く");
      state_ = State::OpenDialog;
      typed_.clear();
    });
  } else if (k == "^p" && !documents_.empty()) {
    if (Faulty("printdialog")) return Stray(k);
    state_ = State::DialogComing;
    At(dialogMs, [this] {
      dialog_ = Show("印刷");
      state_ = State::PrintDialog;
    });
  } else if (k == "^w" && !documents_.empty()) {
    if (Faulty("close")) return Stray(k);
    quitting_ = false;
    BeginClose();
  } else if (k == "^q") {
    if (Faulty("quit")) return Stray(k);
    BeginQuit();
  } else if (k == "^n") {
    // A new document: no person printing a list would want it.
    Stray(k);
    ++untitled;
    documents_.push_back({std::string(kUntitled) + std::to_string(untitled), "", false});
    documents_.back().name = documents_.back().path;
    ShowTitle();
  } else if (!documents_.empty() && (k == "{ENTER}" || IsText(k, text))) {
    Stray(k);
    ++typedIntoDocument;
    documents_.back().modified = true;
  } else {
    Stray(k);
  }
}

}  // namespace velmok::fakes
