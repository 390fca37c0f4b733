#pragma once
// The program's entry checks, in their fixed order: the log's daily reset, a second instance, a
// running ClarisWorks, an open window titled "印刷".

#include "core/debug_log.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "printing/probes.h"

namespace velmok {

enum class StartupOutcome {
  ShowMainWindow,
  AnotherInstance,  // ended silently
  ClarisRunning,    // refused with a message
  PrintWindowOpen,  // refused with a message
};

struct StartupServices {
  DebugLog& log;
  platform::InstanceLock& instance;
  ClarisProbes& probes;
  platform::MessageBoxes& messages;
};

// Runs the checks; the caller shows the main window when the outcome is ShowMainWindow and
// otherwise ends the process.
StartupOutcome Main(StartupServices services);

}  // namespace velmok
