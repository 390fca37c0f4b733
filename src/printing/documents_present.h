#pragma once
// Whether each document of a print is still there to be opened as the file it was listed as: since
// it was listed it may have been deleted, renamed or replaced by a folder; and a name that Windows
// gives to a device (aux.cwj) would have ClarisWorks open the device before Windows 11.

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace velmok {

// Whether a file's name is one of Windows' device names (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9 and their superscript forms), in any letter case, with or without an extension.
bool NamesADevice(std::string_view fileName);

// The documents that are no file any more, or that bear a device's name, in their order.
std::vector<std::string> DocumentsNotThere(platform::FileSystem& files, const std::vector<std::string>& documents);

// The message that refuses a print because of such documents: a few are named whole, the rest are
// counted.
std::string DocumentsNotThereMessage(const std::vector<std::string>& notThere);

}  // namespace velmok
