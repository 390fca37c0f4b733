#include "platform/path_forms.h"

namespace velmok::platform {

namespace {

constexpr std::string_view kVerbatim = "\\\\?\\";
constexpr std::string_view kDevice = "\\\\.\\";
constexpr std::string_view kUnc = "UNC\\";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
  return true;
}

bool IsDriveRoot(std::string_view path) {
  return path.size() >= 3 && AsciiUpper(path[0]) >= 'A' && AsciiUpper(path[0]) <= 'Z' && path[1] == ':' &&
         path[2] == '\\';
}

bool IsDeviceName(std::string_view name) {
  // The rules take a device's name with any extension, and with blanks before it.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (base.size() == 3)
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"})
      if (StartsWithIgnoringCase(base, device)) return true;
  return base.size() == 4 && (StartsWithIgnoringCase(base, "COM") || StartsWithIgnoringCase(base, "LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsOrdinaryName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;  // "." and ".." too
  for (const char c : name) {
    switch (c) {
      case '<': case '>': case ':': case '"': case '/': case '|': case '?': case '*':
        return false;
      default:
        if (static_cast<unsigned char>(c) < 0x20) return false;
    }
  }
  return name.size() < 3 || !IsDeviceName(name);
}

bool IsOrdinaryPath(std::string_view path) {
  std::size_t at = 0;
  if (IsDriveRoot(path)) {
    at = 3;
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    // The server and the share are names like any other.
    at = 2;
    for (int part = 0; part < 2; ++part) {
      const std::size_t end = std::min(path.find('\\', at), path.size());
      if (!IsOrdinaryName(path.substr(at, end - at))) return false;
      at = end + 1;
    }
    if (at >= path.size()) return true;
  } else {
    return false;
  }
  while (at < path.size()) {
    const std::size_t end = std::min(path.find('\\', at), path.size());
    // One separator at the very end is no name.
    if (end == path.size() - 1 && end == at) return true;
    if (!IsOrdinaryName(path.substr(at, end - at))) return false;
    at = end + 1;
  }
  return true;
}

std::string WithoutVerbatimPrefix(std::string_view path) {
  if (!path.starts_with(kVerbatim)) return std::string(path);
  std::string rest(path.substr(kVerbatim.size()));
  if (StartsWithIgnoringCase(rest, kUnc)) rest = "\\\\" + rest.substr(kUnc.size());
  return IsOrdinaryPath(rest) ? rest : std::string(path);
}

bool IsVerbatim(std::string_view path) { return path.starts_with(kVerbatim); }

std::string VerbatimForm(std::string_view path) {
  if (path.starts_with(kVerbatim) || path.starts_with(kDevice)) return std::string(path);
  if (IsDriveRoot(path)) return std::string(kVerbatim) + std::string(path);
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\')
    return std::string(kVerbatim) + std::string(kUnc) + std::string(path.substr(2));
  return std::string(path);
}

}  // namespace velmok::platform
