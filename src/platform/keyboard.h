#pragma once
// Typing into the window in front, in key notation.

#include <cstddef>
#include <string_view>

#include "platform/window_system.h"

namespace velmok::platform {

class Keyboard {
 public:
  enum class Wait { No, UntilProcessed };

  enum class Outcome {
    Sent,               // every key went out (and, when waited for, was taken) with `front` in front
    NotInFront,         // `front` was not the foreground window when the keys were to go: nothing sent
    ModifiersHeld,      // the user holds Shift, Ctrl, Alt or a Windows key: nothing sent
    ForegroundChanged,  // the keys went out, but `front` was no longer in front once they were taken
    Refused,            // malformed notation, or a key this keyboard layout cannot type: nothing sent
    Failed,             // the system did not take every event; the keys it did take were released
    Locked,             // the session was locked (or disconnected) as the keys were to go
  };

  // What became of a batch of keys.
  struct Delivery {
    Outcome outcome = Outcome::Sent;
    // The leading keystrokes that took effect: every one when Sent or ForegroundChanged, none when
    // nothing went out, and when the system took only a part of the events (Locked, Failed) the
    // keystrokes whose keys went down before it stopped (what they pressed was released).
    std::size_t strokesTaken = 0;
  };

  virtual ~Keyboard() = default;

  // Sends the keystrokes written in key notation ("^o", "{ENTER}", "C:\a{+}b.cwj") to `front`,
  // which must be the foreground window right before the first key goes out, and is asked for
  // again after the last one (once taken, when `wait` says so). kNoWindow: to whatever window is in
  // front, unchecked. A key the user holds is never released behind their back: while one is held,
  // nothing is sent.
  virtual Delivery SendKeysTo(WindowId front, std::string_view notation, Wait wait) = 0;

  // Whether no key can reach any window now: the session is locked (Win+L, the screen saver's
  // lock) or its remote connection is gone. The programs go on meanwhile; only typing waits.
  virtual bool Locked() { return false; }

  // Sends to whatever window is in front; true when every key went out.
  bool SendKeys(std::string_view notation, Wait wait) {
    return SendKeysTo(kNoWindow, notation, wait).outcome == Outcome::Sent;
  }
};

}  // namespace velmok::platform
