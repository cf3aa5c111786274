#include "base/text.h"

#include <climits>
#include <clocale>
#include <cwchar>

namespace diadim {
namespace {

// One character of a text: where it starts, how many bytes it takes, and
// its wide character when it decodes.
struct Character {
  std::size_t size = 1;
  bool decoded = false;
  wchar_t wide = 0;
};

// The character that starts at byte `position` of `text`. Each call starts
// from a fresh conversion state: the code pages in use have no shift
// states, and a byte that does not decode must not disturb what follows.
// The C library looks at no more than MB_CUR_MAX bytes whatever the size
// passed, so walking a whole text stays linear.
Character CharacterAt(std::string_view text, std::size_t position) {
  Character character;
  // A byte below 0x80 is its own ASCII character in every code page in use.
  // Deciding it here spares the C library's converter, whose first use
  // loads the code page's tables.
  const auto byte = static_cast<unsigned char>(text[position]);
  if (byte < 0x80) {
    character.decoded = true;
    character.wide = static_cast<wchar_t>(byte);
    return character;
  }
  std::mbstate_t state{};
  wchar_t wide = 0;
  const std::size_t result =
      std::mbrtowc(&wide, text.data() + position, text.size() - position, &state);
  if (result == 0) {
    // A NUL byte: the conversion reports no length for it, but it is one
    // byte in every code page in use.
    character.decoded = true;
  } else if (result <= text.size() - position) {
    character.size = result;
    character.decoded = true;
    character.wide = wide;
  }
  // Otherwise the byte is invalid, or begins a character that the text cuts
  // off: it stands alone as one character.
  return character;
}

// The bytes of `wide` in the code page, or an empty text when the code page
// has no form for it. The bytes must decode back to `wide`: a conversion
// that writes a look-alike or a replacement character does not count.
std::string Encode(wchar_t wide) {
  char bytes[MB_LEN_MAX];
  std::mbstate_t state{};
  const std::size_t size = std::wcrtomb(bytes, wide, &state);
  if (size == static_cast<std::size_t>(-1) || size == 0 || size > sizeof bytes) return "";
  const std::string_view encoded(bytes, size);
  const Character back = CharacterAt(encoded, 0);
  if (!back.decoded || back.size != size || back.wide != wide) return "";
  return std::string(encoded);
}

// Full-width forms of the half-width katakana block U+FF61..U+FF9F, in
// order. The two marks become the spacing marks, which stand on their own.
constexpr char16_t kFullWidthKatakana[] = {
    u'\u3002', u'\u300C', u'\u300D', u'\u3001', u'\u30FB', u'\u30F2', u'\u30A1',  // FF61..FF67
    u'\u30A3', u'\u30A5', u'\u30A7', u'\u30A9', u'\u30E3', u'\u30E5', u'\u30E7',  // FF68..FF6E
    u'\u30C3', u'\u30FC', u'\u30A2', u'\u30A4', u'\u30A6', u'\u30A8', u'\u30AA',  // FF6F..FF75
    u'\u30AB', u'\u30AD', u'\u30AF', u'\u30B1', u'\u30B3', u'\u30B5', u'\u30B7',  // FF76..FF7C
    u'\u30B9', u'\u30BB', u'\u30BD', u'\u30BF', u'\u30C1', u'\u30C4', u'\u30C6',  // FF7D..FF83
    u'\u30C8', u'\u30CA', u'\u30CB', u'\u30CC', u'\u30CD', u'\u30CE', u'\u30CF',  // FF84..FF8A
    u'\u30D2', u'\u30D5', u'\u30D8', u'\u30DB', u'\u30DE', u'\u30DF', u'\u30E0',  // FF8B..FF91
    u'\u30E1', u'\u30E2', u'\u30E4', u'\u30E6', u'\u30E8', u'\u30E9', u'\u30EA',  // FF92..FF98
    u'\u30EB', u'\u30EC', u'\u30ED', u'\u30EF', u'\u30F3', u'\u309B', u'\u309C',  // FF99..FF9F
};
static_assert(sizeof kFullWidthKatakana / sizeof kFullWidthKatakana[0] == 0xFF9F - 0xFF61 + 1);

constexpr char32_t kHalfWidthVoicedMark = 0xFF9E;
constexpr char32_t kHalfWidthSemiVoicedMark = 0xFF9F;

// The full-width form of `c`, or 0 when it has none.
char32_t FullWidthForm(char32_t c) {
  if (c >= 0x21 && c <= 0x7E) return c - 0x21 + 0xFF01;
  if (c == 0x20) return 0x3000;
  if (c >= 0xFF61 && c <= 0xFF9F) return kFullWidthKatakana[c - 0xFF61];
  return 0;
}

// The full-width kana that `kana` and the half-width `mark` make together,
// or 0 when no single kana has that sound.
char32_t CombinedKana(char32_t kana, char32_t mark) {
  const bool ha_row =
      kana == 0x30CF || kana == 0x30D2 || kana == 0x30D5 || kana == 0x30D8 || kana == 0x30DB;
  if (mark == kHalfWidthSemiVoicedMark) return ha_row ? kana + 2 : 0;
  if (mark != kHalfWidthVoicedMark) return 0;
  if (kana == 0x30A6) return 0x30F4;  // U
  // KA to CHI: each voiced kana follows its plain one.
  if (kana >= 0x30AB && kana <= 0x30C1 && (kana - 0x30AB) % 2 == 0) return kana + 1;
  if (kana == 0x30C4 || kana == 0x30C6 || kana == 0x30C8 || ha_row) return kana + 1;
  if (kana >= 0x30EF && kana <= 0x30F2) return kana + 8;  // WA, WI, WE, WO
  return 0;
}

char32_t CodePoint(const Character& character) {
  return character.decoded ? static_cast<char32_t>(character.wide) : 0;
}

// Appends the full-width form of the character `bytes` decodes to, or
// `bytes` themselves when it has no such form or the code page cannot
// encode it.
void AppendFullWidth(std::string& out, std::string_view bytes, char32_t c) {
  const char32_t form = FullWidthForm(c);
  const std::string encoded = form != 0 ? Encode(static_cast<wchar_t>(form)) : "";
  if (encoded.empty()) {
    out += bytes;
  } else {
    out += encoded;
  }
}

}  // namespace

std::vector<std::string_view> Cut(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t found = text.find(separator, start);
    if (found == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, found - start));
    start = found + separator.size();
  }
}

void InitCodePage() { std::setlocale(LC_CTYPE, ""); }

std::size_t CountCharacters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t position = 0; position < text.size(); ++count) {
    position += CharacterAt(text, position).size;
  }
  return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t position = 0;
  for (; count > 0 && position < text.size(); --count) {
    position += CharacterAt(text, position).size;
  }
  return text.substr(0, position);
}

bool LastCharacterIs(std::string_view text, char c) {
  // Walked from the start: a trail byte cannot be told from a single-byte
  // character by looking backwards.
  std::size_t last = text.size();
  for (std::size_t position = 0; position < text.size();) {
    last = position;
    position += CharacterAt(text, position).size;
  }
  return last + 1 == text.size() && text[last] == c;
}

std::string ToFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    const Character character = CharacterAt(text, position);
    const std::string_view bytes = text.substr(position, character.size);
    const char32_t c = CodePoint(character);
    position += character.size;
    if (c >= 0xFF61 && c <= 0xFF9D && position < text.size()) {
      const Character next = CharacterAt(text, position);
      const char32_t combined = CombinedKana(FullWidthForm(c), CodePoint(next));
      const std::string encoded = combined != 0 ? Encode(static_cast<wchar_t>(combined)) : "";
      if (!encoded.empty()) {
        out += encoded;
        position += next.size;
        continue;
      }
    }
    AppendFullWidth(out, bytes, c);
  }
  return out;
}

}  // namespace diadim
