// Texts in the system's code page.
//
// Files, command-line texts and records stay bytes throughout the run; this
// module decodes them only to count characters and to make full-width
// forms. The code page is the C library's multibyte locale, set once at the
// start of a run by InitCodePage (the ANSI code page on Windows, the
// locale's character set elsewhere). A byte that does not decode counts as
// one character and passes through unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace diadim {

// Cuts `text` at every occurrence of `separator`, from the left without
// overlap: two separators in a row give an empty piece. Byte-wise, which is
// safe for the separators in use (blank, "/"): no code page in use has them
// as the trail byte of a double-byte character.
std::vector<std::string_view> Cut(std::string_view text, std::string_view separator);

// Takes the code page from the environment: setlocale(LC_CTYPE, "").
void InitCodePage();

// Number of characters of `text`; a double-byte character counts as one.
std::size_t CountCharacters(std::string_view text);

// The first `count` characters of `text`, or the whole text when it is
// shorter.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// Whether the last character of `text` is the single-byte character `c`.
// A double-byte character whose trail byte equals `c` does not count.
bool LastCharacterIs(std::string_view text, char c);

// Every character that has a full-width form replaced by it: U+0021..U+007E
// by U+FF01..U+FF5E, the blank by U+3000, half-width katakana by full-width
// katakana (a following voiced or semi-voiced mark combined where a combined
// kana exists). A form that the code page cannot encode is not used.
std::string ToFullWidth(std::string_view text);

}  // namespace diadim
