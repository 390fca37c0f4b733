#include "printing/documents_present.h"

#include <array>
#include <cctype>

#include "core/texts.h"
#include "printing/claris_paths.h"

namespace velmok {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

bool NamesADevice(std::string_view fileName) {
  // Windows reads the part before the first dot, without the blanks at its end, as the device.
  std::string_view base = fileName.substr(0, fileName.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (EqualIgnoringCase(base, device)) return true;
  if (base.size() < 4) return false;
  const std::string_view port = base.substr(0, 3);
  if (!EqualIgnoringCase(port, "COM") && !EqualIgnoringCase(port, "LPT")) return false;
  const std::string_view number = base.substr(3);
  if (number.size() == 1) return number[0] >= '1' && number[0] <= '9';
  return number == "\u00B9" || number == "\u00B2" || number == "\u00B3";  // ¹ ² ³
}

std::vector<std::string> DocumentsNotThere(platform::FileSystem& files, const std::vector<std::string>& documents) {
  std::vector<std::string> notThere;
  for (const auto& document : documents) {
    const auto slash = document.find_last_of("\\/");
    const std::string_view name =
        slash == std::string::npos ? std::string_view(document) : std::string_view(document).substr(slash + 1);
    if (NamesADevice(name) || files.Kind(document) != platform::PathKind::File) notThere.push_back(document);
  }
  return notThere;
}

std::string DocumentsNotThereMessage(const std::vector<std::string>& notThere) {
  return RefusedDocumentsMessage(texts::kDocumentsNotThere, notThere);
}

}  // namespace velmok
