#include "platform/win32/settings_store_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

std::optional<std::string> RegistrySettingsStore::Read(std::string_view section, std::string_view key) {
  const std::wstring path = root_ + L"\\" + Widen(section);
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
  ScopedKey hkey(raw);
  const std::wstring name = Widen(key);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(hkey.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(hkey.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::wstring_view text(buffer.data(), bytes / sizeof(wchar_t));
  text = text.substr(0, text.find(L'\0'));
  return Narrow(text);
}

void RegistrySettingsStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::wstring path = root_ + L"\\" + Widen(section);
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS)
    return;
  ScopedKey hkey(raw);
  const std::wstring data = Widen(value);
  RegSetValueExW(hkey.Get(), Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

}  // namespace velmok::win32
