#include "run/run_parameters.h"

#include "base/error.h"
#include "base/number.h"
#include "base/text.h"

namespace diadim {
namespace {

constexpr const char* kParameterNames[] = {
    "workFileName",      "lineColor",        "valueTextKind",      "digitForm",
    "symbolPosition",    "extensionGap",     "extensionOvershoot", "textOffset",
    "arrowLength",       "arrowAngle",       "decimals",           "diameterSymbol",
    "outsideTextGap",    "outsideArrowTail", "toleranceKey",       "toleranceTableName",
    "toleranceTextKind", "(placeholder)",    "lowerDeviationArg",  "upperDeviationArg",
};

std::string Where(std::size_t position) {
  std::string where = "parameter " + std::to_string(position);
  if (position < std::size(kParameterNames)) {
    where += " (";
    where += kParameterNames[position];
    where += ")";
  }
  return where;
}

const std::string& Positional(const RunParameters& parameters, std::size_t position) {
  if (position >= parameters.positionalParameters.size()) {
    throw Error(ErrorKind::kOutOfRange,
                Where(position) + " is missing: the command line has only " +
                    std::to_string(parameters.positionalParameters.size()) + " parameters");
  }
  return parameters.positionalParameters[position];
}

double Double(const RunParameters& parameters, std::size_t position) {
  return RequireNumber(Positional(parameters, position), Where(position));
}

double Whole(const RunParameters& parameters, std::size_t position) {
  return WholeNumber(Double(parameters, position));
}

// The text of a deviation switch: its fixed position without the first two
// characters, whatever those are, since the switch itself may stand
// anywhere in the command line.
std::string SwitchText(const RunParameters& parameters, std::string_view name,
                       std::size_t position) {
  if (parameters.argumentText.find(name) == std::string::npos) return "";
  const std::string& argument = Positional(parameters, position);
  const std::string_view head = FirstCharacters(argument, 2);
  if (CountCharacters(head) < 2) {
    throw Error(ErrorKind::kInvalidArgument, Where(position) + ": " + Quoted(argument) +
                                                 " is too short for the " + std::string(name) +
                                                 " switch and its text");
  }
  return argument.substr(head.size());
}

}  // namespace

std::vector<std::string> SplitArgumentText(std::string_view argumentText) {
  const std::vector<std::string_view> pieces = Cut(argumentText, " ");
  return std::vector<std::string>(pieces.begin(), pieces.end());
}

bool RequestsTolerance(std::string_view toleranceKey) {
  return toleranceKey != "z" && toleranceKey != "Z";
}

bool NeedsToleranceTable(std::string_view toleranceKey) {
  return RequestsTolerance(toleranceKey) && toleranceKey != "1";
}

RunParameters ParseRunParameters(std::string_view argumentText) {
  RunParameters p;
  p.argumentText = argumentText;
  p.positionalParameters = SplitArgumentText(argumentText);
  p.workFileName = Positional(p, 0);

  // The host's own order of conversion decides which fault is reported
  // when several parameters are wrong.
  p.lineColor = Positional(p, 1);
  p.valueTextKind = Positional(p, 2);
  p.toleranceTextKind = Positional(p, 16);
  p.digitForm = Whole(p, 3);
  p.symbolPosition = Whole(p, 4);
  p.diameterSymbol = Positional(p, 11);
  p.extensionGap = Double(p, 5);
  p.extensionOvershoot = Double(p, 6);
  p.arrowLength = Double(p, 8);
  p.textOffset = Double(p, 7);
  p.arrowAngle = Double(p, 9);
  p.decimals = Double(p, 10);
  p.outsideTextGap = Double(p, 12);
  p.outsideArrowTail = Double(p, 13);
  p.toleranceKey = Positional(p, 14);

  p.lowerDeviationText = SwitchText(p, "/D", 18);
  p.upperDeviationText = SwitchText(p, "/U", 19);

  if (NeedsToleranceTable(p.toleranceKey)) p.toleranceTableName = Positional(p, 15);

  if (argumentText.find("/1") != std::string_view::npos) p.diameterSymbol = "N";
  if (p.diameterSymbol == "N" || p.diameterSymbol == "n") p.diameterSymbol.clear();
  return p;
}

}  // namespace diadim
