#include "fakes/fakes.h"

#include <algorithm>
#include <cctype>

#include "platform/utf8.h"

namespace velmok::fakes {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

platform::WindowId FakeWindowSystem::FindTopLevelByClass(std::string_view className) {
  Called();
  ++findCalls;
  for (const auto& [id, w] : windows)
    if (w.className == className) return id;
  return platform::kNoWindow;
}

platform::WindowId FakeWindowSystem::FindTopLevelByTitle(std::string_view title) {
  Called();
  ++findCalls;
  for (const auto& [id, w] : windows)
    if (EqualIgnoringCase(w.title, title)) return id;
  return platform::kNoWindow;
}

platform::WindowId FakeWindowSystem::FindTopLevelByTitleOf(std::uint32_t process, std::string_view title) {
  Called();
  ++findCalls;
  for (const auto& [id, w] : windows)
    if (w.process == process && EqualIgnoringCase(w.title, title)) return id;
  return platform::kNoWindow;
}

std::string FakeWindowSystem::WindowTitle(platform::WindowId window, std::size_t maxChars) {
  Called();
  const auto it = windows.find(window);
  if (it == windows.end()) return {};
  return std::string(Utf8Prefix(it->second.title, maxChars));
}

std::uint32_t FakeWindowSystem::ProcessOfWindow(platform::WindowId window) {
  Called();
  const auto it = windows.find(window);
  return it == windows.end() ? 0 : it->second.process;
}

}  // namespace velmok::fakes
