#include "fakes/scripted_claris.h"

#include "platform/utf8.h"
#include "platform/key_notation.h"

namespace velmok::fakes {

ScriptedClaris::ScriptedClaris(FakeWindowSystem& windows, FakeClock& clock, FakeKeyboard& keyboard)
    : windows_(windows), clock_(clock) {
  keyboard.onSend = [this](const FakeKeyboard::Sent& sent) { OnKeys(sent); };
  clock.onSleep = [this](int) { Advance(); };
}

std::string ScriptedClaris::NameOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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
  }
}

platform::WindowId ScriptedClaris::Show(const std::string& title) {
  const auto id = windows_.Add({"CLW4Dialog", title, kProcess});
  windows_.foreground = id;
  return id;
}

void ScriptedClaris::Hide(platform::WindowId& window) {
  if (window != platform::kNoWindow) windows_.Remove(window);
  window = platform::kNoWindow;
  if (main_ != platform::kNoWindow) windows_.foreground = main_;
}

void ScriptedClaris::SetTitle(const std::string& title) {
  if (main_ != platform::kNoWindow) windows_.windows[main_].title = title;
}

void ScriptedClaris::Launch(const std::string& path) {
  if (neverAnswers.count("launch")) return;
  At(launchMs, [this, path] {
    main_ = windows_.Add({"CLW4MainClass", "ｸﾗﾘｽﾜｰｸｽ 4.0", kProcess});
    windows_.foreground = main_;
    state_ = State::Idle;
    BeginOpen(path);
  });
}

void ScriptedClaris::BeginOpen(const std::string& path) {
  state_ = State::Opening;
  document_ = path;
  if (neverAnswers.count("open")) return;
  if (readOnly.count(NameOf(path))) {
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
  SetTitle("ｸﾗﾘｽﾜｰｸｽ 4.0 - [" + NameOf(document_) + "]");
  state_ = State::Document;
}

void ScriptedClaris::OnKeys(const FakeKeyboard::Sent& sent) {
  const std::string& k = sent.notation;
  keys.push_back(k);
  if (main_ == platform::kNoWindow) {
    strayKeys.push_back(k);
    return;
  }
  if (k == "^o" && state_ == State::Idle) {
    At(dialogMs, [this] {
      dialog_ = Show("開く");
      state_ = State::OpenDialog;
      typed_.clear();
    });
  } else if (k == "{ENTER}" && state_ == State::OpenDialog) {
    Hide(dialog_);
    BeginOpen(typed_);
  } else if (k == "{ENTER}" && state_ == State::ReadOnlyWarning) {
    Hide(dialog_);
    if (warningsLeft_-- > 0) {
      At(warningRepeatMs, [this] { dialog_ = Show("警告"); });
    } else {
      FinishOpen();
    }
  } else if (k == "^p" && state_ == State::Document) {
    if (neverAnswers.count("printdialog")) return;
    At(dialogMs, [this] {
      dialog_ = Show("印刷");
      state_ = State::PrintDialog;
    });
  } else if (k == "{ENTER}" && state_ == State::PrintDialog) {
    Hide(dialog_);
    state_ = State::Printing;
    if (neverAnswers.count("printing")) return;
    platform::WindowId printing = Show("クラリスワークス印刷");
    auto finish = [this, printing]() mutable {
      Hide(printing);
      printed.push_back(document_);
      state_ = State::Document;
    };
    if (printingBlink) {
      finish();  // there and gone before anyone looks
    } else {
      At(printMs, finish);
    }
  } else if (k == "^w" && state_ == State::Document) {
    if (neverAnswers.count("close")) return;
    if (modified.count(NameOf(document_))) {
      At(dialogMs, [this] {
        dialog_ = Show("警告");
        state_ = State::SaveWarning;
      });
    } else {
      state_ = State::Closing;
      At(closeMs, [this] {
        SetTitle("ｸﾗﾘｽﾜｰｸｽ 4.0");
        document_.clear();
        state_ = State::Idle;
      });
    }
  } else if (k == "^n" && state_ == State::SaveWarning) {
    Hide(dialog_);
    state_ = State::Closing;
    At(closeMs, [this] {
      SetTitle("ｸﾗﾘｽﾜｰｸｽ 4.0");
      document_.clear();
      state_ = State::Idle;
    });
  } else if (k == "^q" && (state_ == State::Idle || state_ == State::Document)) {
    if (neverAnswers.count("quit")) return;
    state_ = State::Quitting;
    At(quitMs, [this] {
      windows_.Remove(main_);
      main_ = platform::kNoWindow;
      state_ = State::None;
    });
  } else if (state_ == State::OpenDialog && k.size() > 0 && k[0] != '^' && k != "{ENTER}") {
    // Typed text: the characters the notation stands for.
    if (const auto strokes = ParseKeyNotation(k)) {
      for (const auto& stroke : *strokes) AppendUtf8(typed_, stroke.character);
    }
  } else {
    strayKeys.push_back(k);
  }
}

}  // namespace velmok::fakes
