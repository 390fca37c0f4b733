#include "clw4sim/simulator.h"

#include "clw4sim/texts.h"

namespace clw4sim {

namespace {

bool IsShortcut(const KeyEvent& key, char letter) {
  return key.kind == KeyKind::Down && key.code == static_cast<std::uint32_t>(letter) && key.modifiers == kCtrl;
}

bool IsPlainKey(const KeyEvent& key, std::uint32_t virtualKey) {
  return key.kind == KeyKind::Down && key.code == virtualKey && key.modifiers == 0;
}

// Keys that the Open dialog's edit field handles itself: deleting and moving the caret.
bool IsEditingKey(const KeyEvent& key) {
  if (key.kind != KeyKind::Down || (key.modifiers & (kCtrl | kAlt))) return false;
  switch (key.code) {
    case vk::kBack: case vk::kDelete: case vk::kLeft: case vk::kRight: case vk::kHome: case vk::kEnd:
      return true;
    default:
      return false;
  }
}

KeyVerdict Used(Command command, std::string_view note) {
  return KeyVerdict{KeyStatus::Used, command, note, /*translate=*/false, /*deliver=*/false};
}

KeyVerdict Ignored(std::string_view note) {
  return KeyVerdict{KeyStatus::Ignored, Command::None, note, /*translate=*/true, /*deliver=*/false};
}

KeyVerdict ForTheEditField(std::string_view note) {
  return KeyVerdict{KeyStatus::Used, Command::None, note, /*translate=*/true, /*deliver=*/true};
}

KeyVerdict Stray(Command command, std::string_view note, bool translate = false) {
  return KeyVerdict{KeyStatus::Stray, command, note, translate, /*deliver=*/false};
}

KeyVerdict Waiting(std::string_view note) {
  KeyVerdict verdict{KeyStatus::Ignored, Command::None, note, /*translate=*/true, /*deliver=*/false};
  verdict.wait = true;
  return verdict;
}

bool IsTypedCharacter(const KeyEvent& key) {
  return key.kind == KeyKind::Char && key.code >= 0x20 && key.code != 0x7F && key.modifiers == 0;
}

using Phase = Simulator::Phase;

// The surface that takes keys in each phase (Other: none, the program is busy).
Surface SurfaceTakingKeys(Phase phase) {
  switch (phase) {
    case Phase::Idle: return Surface::Main;
    case Phase::OpenDialog: return Surface::OpenDialog;
    case Phase::PrintDialog: return Surface::PrintDialog;
    case Phase::ReadOnlyWarning: return Surface::ReadOnlyWarning;
    case Phase::SaveWarning: return Surface::SaveWarning;
    default: return Surface::Other;
  }
}

std::string_view WhyNotTaken(Phase phase) {
  switch (phase) {
    case Phase::OpenDialogPending: case Phase::PrintDialogPending: case Phase::ReadOnlyWarningPending:
      return "busy: a dialog is coming";
    case Phase::Opening: return "busy: opening";
    case Phase::Printing: return "busy: printing";
    case Phase::Closing: return "busy: closing";
    case Phase::Quitting: return "busy: quitting";
    case Phase::Stopped: return "stopped";
    default: return "a dialog is open";
  }
}

}  // namespace

std::string FileNameOf(std::string_view path) {
  const auto separator = path.find_last_of("\\/");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

void Simulator::Start(const std::string& commandLinePath) {
  // A read-only document given at start may raise its warning before the main window is shown.
  frameHidden_ = knobs_.warningBeforeFrameMs && !commandLinePath.empty() && host_.FileExists(commandLinePath) &&
                 (knobs_.readOnly.Matches(FileNameOf(commandLinePath)) || host_.FileIsReadOnly(commandLinePath));
  if (!frameHidden_) host_.ShowFrame(true);
  host_.ShowDocument(nullptr);
  Enter(Phase::Idle, texts::kStatusReady);
  if (!commandLinePath.empty()) OpenFromShell(commandLinePath);
}

void Simulator::OpenFromShell(const std::string& path) {
  if (phase_ != Phase::Idle) {
    host_.Log("busy, document handed over is dropped: " + path);
    return;
  }
  if (!host_.FileExists(path)) {
    host_.Log("cannot open, no such file: " + path);
    return;
  }
  BeginOpen(path);
}

void Simulator::CloseRequested() {
  if (phase_ != Phase::Idle) {
    host_.Log("close request ignored: busy");
    return;
  }
  Perform(Command::Quit);
}

bool Simulator::TakesKeys() const {
  return SurfaceTakingKeys(phase_) != Surface::Other || phase_ == Phase::Stopped;
}

KeyVerdict Simulator::Classify(Surface surface, const KeyEvent& key) {
  if (key.IsDown() && IsModifierKey(key.code))
    return KeyVerdict{KeyStatus::Modifier, Command::None, "modifier", true, false};
  // A busy program does not read its queue: the key is taken once it is done.
  if (!TakesKeys()) return Waiting(WhyNotTaken(phase_));
  const Surface expected = SurfaceTakingKeys(phase_);
  if (surface != expected) {
    if (surface == Surface::Main || expected == Surface::Other) return Ignored(WhyNotTaken(phase_));
    return Ignored("window not active");
  }
  switch (surface) {
    case Surface::Main: return ClassifyMain(key);
    case Surface::OpenDialog: return ClassifyOpenDialog(key);
    case Surface::PrintDialog: return ClassifyPrintDialog(key);
    case Surface::ReadOnlyWarning: return ClassifyReadOnlyWarning(key);
    case Surface::SaveWarning: return ClassifySaveWarning(key);
    default: return Ignored("window not active");
  }
}

KeyVerdict Simulator::ClassifyMain(const KeyEvent& key) const {
  const Document* document = CurrentDocument();
  if (IsShortcut(key, 'O')) {
    if (DialogMissing(DialogKind::Open, ordinals_ + 1)) return Ignored("open dialog withheld (CLW4SIM_NO_DIALOG)");
    return Used(Command::OpenDialogLater, "open dialog");
  }
  if (IsShortcut(key, 'P')) {
    if (!document) return Ignored("no document");
    if (DialogMissing(DialogKind::Print, document->ordinal))
      return Ignored("print dialog withheld (CLW4SIM_NO_DIALOG)");
    return Used(Command::PrintDialogLater, "print dialog");
  }
  if (IsShortcut(key, 'W')) {
    if (!document) return Ignored("no document");
    return Used(Command::Close, "close");
  }
  if (IsShortcut(key, 'Q')) return Used(Command::Quit, "quit");
  // What the real program does with keys nobody printing documents would send it.
  if (IsShortcut(key, 'N')) return Stray(Command::NewDocument, "new document");
  if (document && IsPlainKey(key, vk::kReturn)) return Stray(Command::TypeIntoDocument, "typed into the document");
  if (document && IsTypedCharacter(key)) return Stray(Command::TypeIntoDocument, "typed into the document");
  if (document && key.kind == KeyKind::Down && key.code == vk::kPacket) return Stray(Command::None, "typing", true);
  return Ignored("no command");
}

KeyVerdict Simulator::ClassifyOpenDialog(const KeyEvent& key) {
  if (IsPlainKey(key, vk::kReturn)) {
    if (host_.FileExists(host_.OpenDialogText())) return Used(Command::SubmitOpen, "open");
    return Used(Command::MissingPath, "no such file");
  }
  if (IsPlainKey(key, vk::kEscape)) return Used(Command::CancelOpen, "cancel");
  if (key.kind == KeyKind::Down && key.code == vk::kPacket) return KeyVerdict{KeyStatus::Used, Command::None, "typed", true, false};
  if (IsEditingKey(key)) return ForTheEditField("edit");
  if (key.kind == KeyKind::Char) {
    if (key.code == 0x08) return ForTheEditField("edit");
    if (key.code >= 0x20 && key.code != 0x7F) return ForTheEditField("typed");
  }
  return Ignored("not for this dialog");
}

KeyVerdict Simulator::ClassifyPrintDialog(const KeyEvent& key) const {
  if (IsPlainKey(key, vk::kReturn)) return Used(Command::StartPrint, "print");
  if (IsPlainKey(key, vk::kEscape)) return Used(Command::CancelPrint, "cancel");
  return Ignored("not for this dialog");
}

KeyVerdict Simulator::ClassifyReadOnlyWarning(const KeyEvent& key) const {
  if (IsPlainKey(key, vk::kReturn)) return Used(Command::DismissReadOnly, "ok");
  return Ignored("not for this dialog");
}

KeyVerdict Simulator::ClassifySaveWarning(const KeyEvent& key) const {
  if (IsShortcut(key, 'N')) return Used(Command::DontSave, "don't save");
  if (IsPlainKey(key, vk::kEscape)) return Used(Command::CancelClose, "cancel");
  if (IsPlainKey(key, vk::kReturn)) return Used(Command::Save, "save");
  return Ignored("not for this dialog");
}

bool Simulator::DialogMissing(DialogKind which, int document) const {
  return knobs_.noDialog && knobs_.noDialog->which == which && knobs_.noDialog->document == document;
}

void Simulator::Perform(Command command) {
  switch (command) {
    case Command::None:
      break;
    case Command::OpenDialogLater:
      Enter(Phase::OpenDialogPending, texts::kStatusWaitingDialog);
      host_.StartTimer(Timer::OpenDialogDue, knobs_.dialogDelayMs);
      break;
    case Command::PrintDialogLater:
      Enter(Phase::PrintDialogPending, texts::kStatusWaitingDialog);
      host_.StartTimer(Timer::PrintDialogDue, knobs_.dialogDelayMs);
      break;
    case Command::Close:
      quitting_ = false;
      BeginClose();
      break;
    case Command::Quit:
      quitting_ = true;
      host_.Log("quit requested");
      if (documents_.empty()) {
        BeginQuitting();
      } else {
        BeginClose();
      }
      break;
    case Command::SubmitOpen: {
      const std::string path = host_.OpenDialogText();
      host_.Hide(Surface::OpenDialog);
      BeginOpen(path);
      break;
    }
    case Command::MissingPath:
      host_.Log("open dialog: no such file: " + host_.OpenDialogText());
      host_.Beep();
      break;
    case Command::CancelOpen:
      host_.Hide(Surface::OpenDialog);
      Enter(Phase::Idle, texts::kStatusReady);
      break;
    case Command::StartPrint:
      host_.Hide(Surface::PrintDialog);
      Enter(Phase::Printing, texts::kStatusPrinting);
      ShowPanel(Surface::Printing);
      host_.StartTimer(Timer::PrintDone, knobs_.printMs);
      Reached(Step::Printing, documents_.back());
      break;
    case Command::CancelPrint:
      host_.Hide(Surface::PrintDialog);
      Enter(Phase::Idle, texts::kStatusReady);
      break;
    case Command::DismissReadOnly:
      host_.Hide(Surface::ReadOnlyWarning);
      if (opening_ && opening_->warningsLeft > 0) {
        --opening_->warningsLeft;
        Enter(Phase::ReadOnlyWarningPending, texts::kStatusOpening);
        host_.StartTimer(Timer::WarningAgain, knobs_.warningAgainMs);
      } else if (frameHidden_) {
        // The main window comes a while after the warning's answer; the document opens with it.
        Enter(Phase::Opening, texts::kStatusOpening);
        host_.StartTimer(Timer::FrameDue, *knobs_.warningBeforeFrameMs);
      } else {
        FinishOpen();
      }
      break;
    case Command::Save:
    case Command::DontSave:
      host_.Hide(Surface::SaveWarning);
      host_.Log(command == Command::Save ? "saved: " + documents_.back().path : "not saved: " + documents_.back().path);
      Enter(Phase::Closing, texts::kStatusClosing);
      StartClosing();
      break;
    case Command::CancelClose:
      host_.Hide(Surface::SaveWarning);
      quitting_ = false;
      Enter(Phase::Idle, texts::kStatusReady);
      break;
    case Command::NewDocument: {
      Document document;
      document.name = std::string(texts::kUntitled) + std::to_string(++untitled_);
      documents_.push_back(document);
      host_.ShowDocument(&documents_.back());
      host_.Log("new document: " + document.name);
      break;
    }
    case Command::TypeIntoDocument:
      if (!documents_.empty() && !documents_.back().modified) {
        documents_.back().modified = true;
        host_.Log("modified by typing: " + documents_.back().name);
      }
      break;
  }
}

void Simulator::OnTimer(Timer timer) {
  switch (timer) {
    case Timer::OpenDialogDue:
      if (phase_ != Phase::OpenDialogPending) return;
      Enter(Phase::OpenDialog, texts::kStatusInDialog);
      ShowPanel(Surface::OpenDialog);
      break;
    case Timer::PrintDialogDue:
      if (phase_ != Phase::PrintDialogPending) return;
      Enter(Phase::PrintDialog, texts::kStatusInDialog);
      ShowPanel(Surface::PrintDialog);
      Reached(Step::PrintDialog, documents_.back());
      break;
    case Timer::OpenDone:
      if (phase_ != Phase::Opening) return;
      if (opening_->readOnly) {
        Enter(Phase::ReadOnlyWarning, texts::kStatusInDialog);
        ShowPanel(Surface::ReadOnlyWarning);
      } else {
        FinishOpen();
      }
      break;
    case Timer::WarningAgain:
      if (phase_ != Phase::ReadOnlyWarningPending) return;
      Enter(Phase::ReadOnlyWarning, texts::kStatusInDialog);
      ShowPanel(Surface::ReadOnlyWarning);
      break;
    case Timer::PrintDone: {
      if (phase_ != Phase::Printing) return;
      const Document& document = documents_.back();
      host_.AppendPrintJournal(document.path.empty() ? document.name : document.path);
      host_.WriteSpoolJob(document);
      host_.Log("handed to the spooler: " + document.path);
      host_.Hide(Surface::Printing);
      Enter(Phase::Idle, texts::kStatusReady);
      break;
    }
    case Timer::CloseDone:
      if (phase_ != Phase::Closing) return;
      FinishClose();
      break;
    case Timer::FrameDue:
      if (phase_ != Phase::Opening || !frameHidden_) return;
      frameHidden_ = false;
      host_.ShowFrame(true);
      FinishOpen();
      break;
    case Timer::QuitDone:
      if (phase_ != Phase::Quitting) return;
      phase_ = Phase::Stopped;
      host_.Log("quit");
      host_.Quit();
      break;
  }
}

void Simulator::BeginOpen(const std::string& path) {
  Document document;
  document.path = path;
  document.name = FileNameOf(path);
  document.ordinal = ++ordinals_;
  document.readOnly = knobs_.readOnly.Matches(document.name) || host_.FileIsReadOnly(path);
  document.modified = knobs_.modified.Matches(document.name);
  document.warningsLeft = knobs_.readOnlyRepeat;
  opening_ = document;
  host_.Log("opening #" + std::to_string(document.ordinal) + ": " + path);
  Enter(Phase::Opening, texts::kStatusOpening);
  if (!Reached(Step::Open, document)) return;
  host_.StartTimer(Timer::OpenDone, knobs_.openDelayMs);
}

void Simulator::FinishOpen() {
  documents_.push_back(*opening_);
  opening_.reset();
  host_.ShowDocument(&documents_.back());
  host_.Log("opened: " + documents_.back().path);
  Enter(Phase::Idle, texts::kStatusReady);
  Reached(Step::Opened, documents_.back());
}

void Simulator::BeginClose() {
  if (!Reached(Step::Close, documents_.back())) return;
  if (documents_.back().modified) {
    Enter(Phase::SaveWarning, texts::kStatusInDialog);
    ShowPanel(Surface::SaveWarning);
  } else {
    Enter(Phase::Closing, texts::kStatusClosing);
    StartClosing();
  }
}

void Simulator::StartClosing() {
  host_.StartTimer(Timer::CloseDone, knobs_.closeDelayMs);
  if (knobs_.closeBlockMs > 0) {
    host_.Log("closing blocks for " + std::to_string(knobs_.closeBlockMs) + " ms");
    host_.Block(knobs_.closeBlockMs);
  }
}

void Simulator::FinishClose() {
  host_.Log("closed: " + documents_.back().path);
  documents_.pop_back();
  host_.ShowDocument(CurrentDocument());
  if (!quitting_) {
    Enter(Phase::Idle, texts::kStatusReady);
  } else if (!documents_.empty()) {
    BeginClose();
  } else {
    BeginQuitting();
  }
}

void Simulator::BeginQuitting() {
  Enter(Phase::Quitting, texts::kStatusQuitting);
  if (!knobs_.hideBeforeEndMs) {
    host_.StartTimer(Timer::QuitDone, knobs_.quitDelayMs);
    return;
  }
  // The main window goes at once, the program a while later.
  host_.Log("main window hidden before the end");
  host_.ShowFrame(false);
  host_.StartTimer(Timer::QuitDone, *knobs_.hideBeforeEndMs);
}

void Simulator::Enter(Phase phase, std::string_view status) {
  phase_ = phase;
  host_.ShowStatus(status);
}

void Simulator::ShowPanel(Surface surface) {
  const Document* document = surface == Surface::ReadOnlyWarning ? (opening_ ? &*opening_ : nullptr)
                                                                  : CurrentDocument();
  host_.Show(surface, surface == Surface::OpenDialog ? nullptr : document);
}

bool Simulator::Reached(Step step, const Document& document) {
  const Moment here{step, document.ordinal};
  host_.Log("step " + std::string(StepName(step)) + ":" + std::to_string(document.ordinal) + " " + document.name);
  if (knobs_.stealFocus && knobs_.stealFocus->when == here) {
    host_.Log("another program takes the foreground for " + std::to_string(knobs_.stealFocus->holdMs) + " ms");
    host_.StartFocusThief(knobs_.stealFocus->holdMs);
  }
  if (knobs_.crashAt && *knobs_.crashAt == here) {
    host_.Log("crash");
    phase_ = Phase::Stopped;
    host_.Crash();
    return false;
  }
  if (knobs_.hangAt && *knobs_.hangAt == here) {
    host_.Log("hang");
    phase_ = Phase::Stopped;
    host_.ShowStatus(texts::kStatusHung);
    host_.Hang();
    return false;
  }
  return true;
}

}  // namespace clw4sim
