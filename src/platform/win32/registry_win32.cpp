#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <array>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

constexpr DWORD kBufferBytes = 1024;

HKEY RootKey(platform::RegistryRoot root) {
  switch (root) {
    case platform::RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
  }
  return HKEY_CURRENT_USER;
}

std::wstring Expand(const std::wstring& text) {
  const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring out(needed, L'\0');
  const DWORD n = ExpandEnvironmentStringsW(text.c_str(), out.data(), needed);
  if (n == 0 || n > needed) return text;
  out.resize(n - 1);
  return out;
}

}  // namespace

std::optional<std::string> Win32Registry::ReadString(platform::RegistryRoot root, std::string_view key,
                                                     std::string_view name) {
  // Reading needs no more than the read rights, which every user has on the machine's keys.
  HKEY raw = nullptr;
  if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return std::nullopt;
  ScopedKey hkey(raw);

  std::array<wchar_t, kBufferBytes / sizeof(wchar_t)> buffer{};
  DWORD type = 0;
  DWORD bytes = kBufferBytes;
  if (RegQueryValueExW(hkey.Get(), Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;

  // As many characters as the query returned, without the terminating NUL when it is there.
  std::wstring text(buffer.data(), bytes / sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  if (type == REG_EXPAND_SZ) text = Expand(text);
  return Narrow(text);
}

}  // namespace velmok::win32
