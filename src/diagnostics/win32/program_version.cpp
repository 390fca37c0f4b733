#include "diagnostics/win32/program_version.h"

#include <cstring>
#include <cwchar>

namespace velmok::win32 {

std::optional<ProgramVersion> ReadProgramVersion(HMODULE module) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  if (!resource) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, resource);
  const auto* bytes = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (!bytes) return std::nullopt;

  // VS_VERSIONINFO: three WORDs (length, value length, type), the key "VS_VERSION_INFO" with its
  // NUL, padding to a 32-bit boundary, then the VS_FIXEDFILEINFO.
  static constexpr wchar_t kKey[] = L"VS_VERSION_INFO";
  constexpr std::size_t keyOffset = 3 * sizeof(WORD);
  constexpr std::size_t valueOffset = (keyOffset + sizeof kKey + 3) & ~std::size_t{3};
  if (size < valueOffset + sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  if (std::memcmp(bytes + keyOffset, kKey, sizeof kKey) != 0) return std::nullopt;
  VS_FIXEDFILEINFO info{};
  std::memcpy(&info, bytes + valueOffset, sizeof info);
  if (info.dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return VersionFromFileVersion(info.dwFileVersionMS, info.dwFileVersionLS);
}

}  // namespace velmok::win32
