// The command line taken apart.
//
// The host passes twenty positional parameters separated by single spaces
// and three switches ("/D", "/U", "/1") that may stand anywhere in the text.
// SplitArgumentText cuts the text; ParseRunParameters converts the
// positions in the host's fixed order and reads the switches and the
// diameter-symbol rule.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace diadim {

struct RunParameters {
  std::string argumentText;
  std::vector<std::string> positionalParameters;

  std::string workFileName;        // 0
  std::string lineColor;           // 1, copied verbatim after "lc"
  std::string valueTextKind;       // 2, copied verbatim after "cn"
  double digitForm = 0;            // 3, whole number: 0 half-width, 1 full-width
  double symbolPosition = 0;       // 4, whole number: 0 symbol first, else last
  double extensionGap = 0;         // 5
  double extensionOvershoot = 0;   // 6
  double textOffset = 0;           // 7
  double arrowLength = 0;          // 8
  double arrowAngle = 0;           // 9, degrees
  double decimals = 0;             // 10
  std::string diameterSymbol;      // 11, after the symbol rule; empty: none
  double outsideTextGap = 0;       // 12
  double outsideArrowTail = 0;     // 13
  std::string toleranceKey;        // 14
  std::string toleranceTableName;  // 15, read only when the table is needed
  std::string toleranceTextKind;   // 16, copied verbatim after "cn"

  std::string lowerDeviationText;  // from position 18 when "/D" occurs
  std::string upperDeviationText;  // from position 19 when "/U" occurs
};

// Cuts the argument text at every single space; two spaces in a row give an
// empty parameter. Quotes and tabs are ordinary characters.
std::vector<std::string> SplitArgumentText(std::string_view argumentText);

// Whether the key asks for the tolerance table ("z", "Z": no tolerance;
// "1": deviations from the switches only).
bool NeedsToleranceTable(std::string_view toleranceKey);

// Whether the key asks for a tolerance at all; only "z" and "Z" do not.
bool RequestsTolerance(std::string_view toleranceKey);

// Converts positions 1 to 14 and 16 in the host's order (1, 2, 16, 3, 4,
// 11, 5, 6, 8, 7, 9, 10, 12, 13, 14), then reads the "/D" and "/U" switches,
// position 15 when the table is needed, and the symbol rule. The first
// missing or malformed parameter throws.
RunParameters ParseRunParameters(std::string_view argumentText);

}  // namespace diadim
