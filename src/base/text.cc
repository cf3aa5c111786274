// Placeholder: byte-wise until the code-page module lands.
#include "base/text.h"
#include <clocale>
namespace diadim {
void InitCodePage() { std::setlocale(LC_CTYPE, ""); }
std::size_t CountCharacters(std::string_view text) { return text.size(); }
std::string_view FirstCharacters(std::string_view text, std::size_t count) { return text.substr(0, count); }
bool LastCharacterIs(std::string_view text, char c) { return !text.empty() && text.back() == c; }
std::string ToFullWidth(std::string_view text) { return std::string(text); }
}  // namespace diadim
