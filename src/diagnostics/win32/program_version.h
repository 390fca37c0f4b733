#pragma once

#include <windows.h>

#include <optional>

#include "diagnostics/frm_about_logic.h"

namespace velmok::win32 {

// The version in the module's own version resource (its fixed file version); nullopt when the
// module has none.
std::optional<ProgramVersion> ReadProgramVersion(HMODULE module);

}  // namespace velmok::win32
