#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace velmok {
namespace {

// Names from a folder listing, converted one after the other into the same string.
TEST(Utf8, Utf16NamesConvertWholeIntoReusedStorage) {
  const struct {
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {u"", ""},
      {u"a.cwj", "a.cwj"},
      {u"Müller ü", "Müller ü"},
      {u"見積書 ｸﾗﾘｽ.cwj", "見積書 ｸﾗﾘｽ.cwj"},
      {u"𠮷野家😀", "𠮷野家😀"},                             // pairs of surrogates
      {u"a\xD800z", "a\xEF\xBF\xBDz"},                          // a high surrogate alone
      {u"\xDC00", "\xEF\xBF\xBD"},                              // a low surrogate alone
      {std::u16string(300, u'文'), [] { std::string s; for (int i = 0; i < 300; ++i) s += "文"; return s; }()},
  };
  std::string out = "left over from the name before";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    Utf16ToUtf8Into(c.utf16, out);
    EXPECT_EQ(out, c.utf8);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
}

}  // namespace
}  // namespace velmok
