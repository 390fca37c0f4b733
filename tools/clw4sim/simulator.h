#pragma once
// What the simulated application does: which keys it takes in which state, the dialogs, the
// delays, the journals and the faults. It knows no window; the host (Win32 in the program, a fake in
// the unit tests) shows what it is told to show and reports keys and elapsed timers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clw4sim/key_journal.h"
#include "clw4sim/knobs.h"

namespace clw4sim {

// The windows of the application: the main window and what it shows above it.
enum class Surface { Main, OpenDialog, PrintDialog, ReadOnlyWarning, SaveWarning, Printing, Other };

enum class Timer { OpenDialogDue, PrintDialogDue, OpenDone, WarningAgain, PrintDone, CloseDone, QuitDone, FrameDue };

struct Document {
  std::string path;
  std::string name;  // the last component of the path
  int ordinal = 0;   // 1, 2, ... in the order this process opened documents; 0 for a new one
  bool readOnly = false;
  bool modified = false;
  int warningsLeft = 0;  // how many more times the read-only warning comes back
};

// The last component of a path ("C:\a\b.cwj" → "b.cwj").
std::string FileNameOf(std::string_view path);

class Host {
 public:
  virtual ~Host() = default;
  // Shows and activates one of the surfaces above the main window (the current document is given
  // to those that name it).
  virtual void Show(Surface surface, const Document* document) = 0;
  virtual void Hide(Surface surface) = 0;
  // Shows (and activates) or hides the main window.
  virtual void ShowFrame(bool shown) = 0;
  // The main window's title and client area: the current document (none: nullptr) and the state.
  virtual void ShowDocument(const Document* document) = 0;
  virtual void ShowStatus(std::string_view status) = 0;
  virtual void StartTimer(Timer timer, unsigned ms) = 0;

  // The text typed into the Open dialog.
  virtual std::string OpenDialogText() = 0;
  // True when `path` names an existing file (not a folder).
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FileIsReadOnly(const std::string& path) = 0;

  virtual void AppendPrintJournal(const std::string& path) = 0;
  virtual void WriteSpoolJob(const Document& document) = 0;
  virtual void Log(std::string_view line) = 0;
  virtual void Beep() = 0;

  virtual void StartFocusThief(unsigned holdMs) = 0;
  // The program's thread does not answer for `ms` (keys typed meanwhile wait in the queue).
  virtual void Block(unsigned ms) = 0;
  // The process ends abruptly; does not return in the program.
  virtual void Crash() = 0;
  // The user-interface thread stops answering; does not return in the program.
  virtual void Hang() = 0;
  // Ends the program normally.
  virtual void Quit() = 0;
};

// What a key did, decided before it is acted on so that it is journalled first.
enum class Command {
  None, OpenDialogLater, PrintDialogLater, Close, Quit, SubmitOpen, MissingPath, CancelOpen, StartPrint,
  CancelPrint, DismissReadOnly, Save, DontSave, CancelClose, NewDocument, TypeIntoDocument,
};

struct KeyVerdict {
  KeyStatus status = KeyStatus::Ignored;
  Command command = Command::None;
  std::string_view note;
  bool translate = true;  // let the message loop make characters of the key
  bool deliver = false;   // hand it to the window (the edit field of the Open dialog)
  // The program is busy: the key waits, as in the queue of a thread that does not read it, and is
  // judged again once the program takes keys (TakesKeys).
  bool wait = false;
};

class Simulator {
 public:
  enum class Phase {
    Idle, OpenDialogPending, OpenDialog, Opening, ReadOnlyWarning, ReadOnlyWarningPending,
    PrintDialogPending, PrintDialog, Printing, SaveWarning, Closing, Quitting, Stopped,
  };

  Simulator(const Knobs& knobs, Host& host) : knobs_(knobs), host_(host) {}

  // The program has started, with the document given on its command line or without one.
  void Start(const std::string& commandLinePath);
  // Another start of the program handed over the document it was given.
  void OpenFromShell(const std::string& path);
  // The window manager asks the main window to close (its close box, WM_CLOSE): as Ctrl+Q, when
  // the program is waiting for a command.
  void CloseRequested();

  KeyVerdict Classify(Surface surface, const KeyEvent& key);
  void Perform(Command command);
  void OnTimer(Timer timer);

  Phase CurrentPhase() const { return phase_; }
  // Whether a key is judged now rather than kept for later (the program is not busy).
  bool TakesKeys() const;
  const Document* CurrentDocument() const { return documents_.empty() ? nullptr : &documents_.back(); }
  int DocumentsStarted() const { return ordinals_; }

 private:
  KeyVerdict ClassifyMain(const KeyEvent& key) const;
  KeyVerdict ClassifyOpenDialog(const KeyEvent& key);
  KeyVerdict ClassifyPrintDialog(const KeyEvent& key) const;
  KeyVerdict ClassifyReadOnlyWarning(const KeyEvent& key) const;
  KeyVerdict ClassifySaveWarning(const KeyEvent& key) const;
  bool DialogMissing(DialogKind which, int document) const;

  void BeginOpen(const std::string& path);
  void FinishOpen();
  void BeginClose();
  void StartClosing();
  void FinishClose();
  void BeginQuitting();
  void Enter(Phase phase, std::string_view status);
  void ShowPanel(Surface surface);
  // Sets off the faults and the focus theft set for this moment. False when the program stopped.
  bool Reached(Step step, const Document& document);

  const Knobs& knobs_;
  Host& host_;
  Phase phase_ = Phase::Idle;
  std::vector<Document> documents_;  // open documents, the current one last
  std::optional<Document> opening_;
  int ordinals_ = 0;
  bool quitting_ = false;
  bool frameHidden_ = false;  // the read-only warning came before the main window
  int untitled_ = 0;  // new documents made so far
};

}  // namespace clw4sim
