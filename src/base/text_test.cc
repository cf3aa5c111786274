#include "base/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <initializer_list>
#include <string>
#include <string_view>

namespace diadim {
namespace {

using namespace std::string_view_literals;

// Runs each test under one code page and gives the process its previous
// one back afterwards, so the order of tests does not matter.
class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_CTYPE, nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

  // Switches to `locale`; false when the system does not have it.
  static bool Use(const char* locale) { return std::setlocale(LC_CTYPE, locale) != nullptr; }

 private:
  std::string saved_;
};

constexpr const char* kCodePage932 = "ja_JP.WINDOWS-31J";
constexpr const char* kUtf8 = "C.UTF-8";

// Skips the test when the locale is missing; the test command runs the
// setup script first, so this only happens in a bare build.
#define USE_LOCALE_OR_SKIP(locale)                                                          \
  do {                                                                                      \
    if (!Use(locale)) {                                                                     \
      GTEST_SKIP() << "locale " << (locale) << " is missing; run scripts/setup-locales.sh " \
                   << "as root";                                                            \
    }                                                                                       \
  } while (false)

// Code page 932 bytes of the characters used below.
constexpr std::string_view kPhi = "\x83\xD3";         // U+03C6, double-byte
constexpr std::string_view kOmote = "\x95\x5C";       // U+8868, trail byte is '\'
constexpr std::string_view kHalfKa = "\xB6";          // U+FF76
constexpr std::string_view kHalfVoiced = "\xDE";      // U+FF9E
constexpr std::string_view kHalfSemiVoiced = "\xDF";  // U+FF9F

std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

// Shows a text as hex bytes, so a failure tells which bytes differ.
std::string Hex(std::string_view text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char byte : text) {
    if (!hex.empty()) hex += ' ';
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

struct CountCase {
  std::string text;
  std::size_t count;
};

void ExpectCounts(std::initializer_list<CountCase> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(CountCharacters(c.text), c.count) << Hex(c.text);
    // The whole text is its own first `count` characters, and one fewer
    // character is a shorter prefix.
    EXPECT_EQ(FirstCharacters(c.text, c.count), c.text) << Hex(c.text);
    if (c.count > 0) {
      const std::string_view shorter = FirstCharacters(c.text, c.count - 1);
      EXPECT_LT(shorter.size(), c.text.size()) << Hex(c.text);
      EXPECT_EQ(CountCharacters(shorter), c.count - 1) << Hex(c.text);
    }
  }
}

struct ConversionCase {
  std::string text;
  std::string fullWidth;
};

void ExpectConversions(std::initializer_list<ConversionCase> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(ToFullWidth(c.text)), Hex(c.fullWidth)) << "from " << Hex(c.text);
  }
}

TEST_F(CodePageTest, CountsDoubleByteAndUndecodableBytesAsOneCharacterEach932) {
  USE_LOCALE_OR_SKIP(kCodePage932);
  ExpectCounts({
      {"", 0},
      {"20.5", 4},
      {Cat({kPhi, "20.5"}), 5},
      {Cat({"C:\\", kOmote}), 4},
      {"\xB6\xDE", 2},               // half-width KA and voiced mark are single bytes
      {"\x80", 1},                   // not a byte of this code page
      {"\x81\x20", 2},               // lead byte with an invalid trail byte, then a blank
      {"12\x81", 3},                 // lead byte cut off at the end
      {Cat({"a", "\0"sv, "b"}), 3},  // NUL is a character
      {Cat({"\0\0"sv, kPhi}), 3},
  });
}

TEST_F(CodePageTest, CountsMultibyteAndUndecodableBytesAsOneCharacterEachUtf8) {
  USE_LOCALE_OR_SKIP(kUtf8);
  ExpectCounts({
      {"\xCF\x86"
       "20.5",
       5},                              // U+03C6
      {"\xEF\xBC\x92\xEF\xBC\x90", 2},  // full-width 2 and 0
      {"\xE3\x82\xAC", 1},              // U+30AC
      {"\xFF"
       "a",
       2},
      {"a\xE3\x82", 3},  // cut-off sequence: each byte on its own
      {"\xE3\x82"
       "a",
       3},  // interrupted sequence
      {Cat({"\0"sv, "\xE3\x82\xAC"}), 2},
  });
}

TEST_F(CodePageTest, FirstCharactersKeepsDoubleByteCharactersWhole932) {
  USE_LOCALE_OR_SKIP(kCodePage932);
  const std::string text = Cat({kPhi, "20"});
  EXPECT_EQ(FirstCharacters(text, 0), "");
  EXPECT_EQ(FirstCharacters(text, 1), kPhi);
  EXPECT_EQ(FirstCharacters(text, 2), Cat({kPhi, "2"}));
  EXPECT_EQ(FirstCharacters(text, 3), text);
  EXPECT_EQ(FirstCharacters(text, 100), text);
  EXPECT_EQ(FirstCharacters("", 2), "");
  EXPECT_EQ(FirstCharacters("/D\x81", 3), "/D\x81");
  // The view points into the text itself.
  EXPECT_EQ(FirstCharacters(text, 2).data(), text.data());
}

TEST_F(CodePageTest, LastCharacterIsDecodesFromTheStart932) {
  USE_LOCALE_OR_SKIP(kCodePage932);
  const struct {
    std::string text;
    bool endsInBackslash;
  } cases[] = {
      {"", false},
      {"\\", true},
      {"C:\\work\\", true},
      {"C:\\work", false},
      {Cat({"C:\\", kOmote}), false},  // the trail byte of a double-byte character
      {Cat({"C:\\", kOmote, "\\"}), true},
      {Cat({kOmote, kOmote}), false},
      // 0x81 0x95 is one character, so the final 0x5C stands alone; read
      // backwards, 0x95 0x5C would look like the last character.
      {"\x81\x95\x5C", true},
      {"\x81\x5C", false},  // 0x81 0x5C is one character
      {"\x80\x5C", true},   // an undecodable byte pairs with nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LastCharacterIs(c.text, '\\'), c.endsInBackslash) << Hex(c.text);
  }
  EXPECT_TRUE(LastCharacterIs("C:\\work/", '/'));
  EXPECT_FALSE(LastCharacterIs("\\", '/'));
}

TEST_F(CodePageTest, LastCharacterIsInUtf8) {
  USE_LOCALE_OR_SKIP(kUtf8);
  EXPECT_TRUE(LastCharacterIs("/home/\xE8\xA1\xA8/", '/'));
  EXPECT_FALSE(LastCharacterIs("/home/\xE8\xA1\xA8", '/'));
  EXPECT_FALSE(LastCharacterIs("/", '\\'));
}

TEST_F(CodePageTest, ConvertsToFullWidth932) {
  USE_LOCALE_OR_SKIP(kCodePage932);
  ExpectConversions({
      {"", ""},
      {"20.5", "\x82\x51\x82\x4F\x81\x44\x82\x54"},
      {"-1", "\x81\x7C\x82\x50"},
      {"a b", "\x82\x81\x81\x40\x82\x82"},  // the blank becomes U+3000
      {"#{}", "\x81\x94\x81\x6F\x81\x70"},
      {"\\~", "\x81\x5F\x81\x60"},                  // U+FF3C and U+FF5E
      {Cat({kPhi, "1"}), Cat({kPhi, "\x82\x50"})},  // a double-byte symbol stays
      {"\x82\x50\x81\x40", "\x82\x50\x81\x40"},     // already full-width
      {"\t\x7F", "\t\x7F"},                         // controls have no full-width form
      // Half-width katakana and punctuation.
      {"\xB1\xDD\xB0", "\x83\x41\x83\x93\x81\x5B"},
      {"\xA1\xA2\xA3\xA4\xA5", "\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45"},
      {"\xA6\xA7\xAF", "\x83\x92\x83\x40\x83\x62"},
      // A following mark combines into the kana where one kana has the sound.
      {Cat({kHalfKa, kHalfVoiced}), "\x83\x4B"},  // GA
      {"\xCA\xDF", "\x83\x70"},                   // PA
      {"\xCA\xDE", "\x83\x6F"},                   // BA
      {"\xC2\xDE\xC4\xDE", "\x83\x64\x83\x68"},   // DU, DO
      {"\xB3\xDE", "\x83\x94"},                   // VU
      // Marks that cannot combine become the spacing marks.
      {Cat({kHalfKa, kHalfSemiVoiced}), "\x83\x4A\x81\x4B"},
      {"\xB1\xDE", "\x83\x41\x81\x4A"},
      {"\xAF\xDE", "\x83\x62\x81\x4A"},  // small TU
      {Cat({kHalfVoiced, kHalfSemiVoiced}), "\x81\x4A\x81\x4B"},
      {Cat({kHalfKa, kHalfVoiced, kHalfVoiced}), "\x83\x4B\x81\x4A"},
      {Cat({"1", kHalfVoiced}), "\x82\x50\x81\x4A"},
      // WA and WO with the voiced mark have a combined kana that this code
      // page cannot encode: kana and mark are converted one by one.
      {"\xDC\xDE", "\x83\x8F\x81\x4A"},
      {"\xA6\xDE", "\x83\x92\x81\x4A"},
      // Undecodable bytes and NUL pass through.
      {"\x80"
       "1",
       "\x80\x82\x50"},
      {"1\x81", "\x82\x50\x81"},
      {"\x81\x20", "\x81\x81\x40"},
      {Cat({"a", "\0"sv, "b"}), Cat({"\x82\x81", "\0"sv, "\x82\x82"})},
  });
  // Counted after the conversion, a combined kana is one character.
  EXPECT_EQ(CountCharacters(ToFullWidth("\xB6\xDE\xCA\xDF"
                                        "1")),
            3u);
}

TEST_F(CodePageTest, ConvertsToFullWidthUtf8) {
  USE_LOCALE_OR_SKIP(kUtf8);
  ExpectConversions({
      {"20.5", "\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x8E\xEF\xBC\x95"},
      {" ", "\xE3\x80\x80"},
      {"!~", "\xEF\xBC\x81\xEF\xBD\x9E"},
      {"\xCF\x86"
       "1",
       "\xCF\x86\xEF\xBC\x91"},                      // U+03C6 stays
      {"\xEF\xBC\x91", "\xEF\xBC\x91"},              // already full-width
      {"\xEF\xBD\xB6\xEF\xBE\x9E", "\xE3\x82\xAC"},  // KA + voiced: GA
      {"\xEF\xBE\x8E\xEF\xBE\x9F", "\xE3\x83\x9D"},  // HO + semi-voiced: PO
      // UTF-8 encodes the combined WA and WO, unlike code page 932.
      {"\xEF\xBE\x9C\xEF\xBE\x9E", "\xE3\x83\xB7"},
      {"\xEF\xBD\xA6\xEF\xBE\x9E", "\xE3\x83\xBA"},
      {"\xEF\xBD\xB1\xEF\xBE\x9F", "\xE3\x82\xA2\xE3\x82\x9C"},  // A + semi-voiced
      {"\xEF\xBE\x9E", "\xE3\x82\x9B"},
      {"\xEF\xBD\xA1\xEF\xBD\xA5", "\xE3\x80\x82\xE3\x83\xBB"},
      {"\xFF"
       "1\xE3\x82",
       "\xFF\xEF\xBC\x91\xE3\x82"},
  });
}

TEST_F(CodePageTest, CLocaleEncodesNoFullWidthFormAndLeavesTextsUnchanged) {
  ASSERT_TRUE(Use("C"));
  for (std::string_view text :
       {"20.5"sv, " "sv, "\xB6\xDE"sv, "\xEF\xBD\xB6\xEF\xBE\x9E"sv, "a\0b"sv}) {
    EXPECT_EQ(Hex(ToFullWidth(text)), Hex(text));
  }
  EXPECT_EQ(CountCharacters("\xE3\x82\xAC"), 3u);
  EXPECT_TRUE(LastCharacterIs("\x95\x5C", '\\'));
}

// Items can be megabytes long; every operation walks the text once.
TEST_F(CodePageTest, LongTextsTakeLinearTime932) {
  USE_LOCALE_OR_SKIP(kCodePage932);
  std::string text;
  for (int i = 0; i < 500000; ++i) text += Cat({kOmote, "\xB6\xDE", "\x80"});
  EXPECT_EQ(CountCharacters(text), 2000000u);
  EXPECT_FALSE(LastCharacterIs(text, '\\'));
  EXPECT_EQ(FirstCharacters(text, 1999999).size(), text.size() - 1);
  const std::string fullWidth = ToFullWidth(text);
  EXPECT_EQ(CountCharacters(fullWidth), 1500000u);
  EXPECT_EQ(fullWidth.substr(0, 5), Cat({kOmote, "\x83\x4B", "\x80"}));
}

}  // namespace
}  // namespace diadim
