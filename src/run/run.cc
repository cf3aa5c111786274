#include "run/run.h"

#include <cstdio>
#include <optional>
#include <string>

#include "base/error.h"
#include "base/text.h"
#include "compose/dimension_text.h"
#include "compose/geometry.h"
#include "compose/text_placement.h"
#include "compose/tolerance.h"
#include "input/drawing_context.h"
#include "output/records.h"
#include "platform/platform.h"
#include "run/path.h"
#include "run/run_parameters.h"

#ifndef DIADIM_VERSION
#define DIADIM_VERSION "0"
#endif

namespace diadim {
namespace {

constexpr const char kUsage[] =
    "usage: diadim WORKFILE LINECOLOR VALUEKIND DIGITFORM SYMBOLPOS EXTGAP EXTOVER TEXTOFFSET\n"
    "              ARROWLEN ARROWANGLE DECIMALS SYMBOL OUTGAP OUTTAIL TOLKEY TOLTABLE TOLKIND\n"
    "              [PLACEHOLDER [/DLOWER [/UUPPER]]]\n"
    "Adds one vertical diameter dimension: reads WORKFILE (and TOLTABLE for a tolerance\n"
    "class key), composes the dimension and overwrites WORKFILE with its records.\n"
    "Parameters are separated by single spaces. \"/1\" anywhere: no diameter symbol.\n"
    "Exit status: 0 done; 1 out of range; 2 type mismatch; 3 invalid argument; 4 file error.\n";

}  // namespace

void Run(std::string_view argumentText) {
  // The work file is read before any parameter is converted, so a missing
  // work file is reported first.
  const std::string workFilePath =
      ResolveInCurrentDirectory(SplitArgumentText(argumentText).front());
  const Items workFileItems = ReadWorkFile(workFilePath);

  const RunParameters parameters = ParseRunParameters(argumentText);

  std::optional<Items> table;
  if (NeedsToleranceTable(parameters.toleranceKey)) {
    table = LoadToleranceTable(ResolveInCurrentDirectory(parameters.toleranceTableName));
  }

  DrawingContext context = BuildDrawingContext(workFileItems, parameters);
  const ToleranceSpec tolerance = SettleTolerance(parameters, table ? &*table : nullptr, context);
  const DimensionText text = BuildDimensionText(parameters, context);
  const DimensionGeometry geometry =
      ComposeDimensionGeometry(context, parameters, text.width, tolerance.toleranceWidth);
  context.p4.y = geometry.y4;
  const TextPlacement placement = PlaceTexts(context, parameters, geometry.y4, text, tolerance);

  DrawingRecords drawing;
  drawing.extensionLine1 = geometry.extensionLine1;
  drawing.extensionLine2 = geometry.extensionLine2;
  drawing.arrowStroke1 = geometry.arrowStroke1;
  drawing.arrowStroke2 = geometry.arrowStroke2;
  drawing.arrowStroke3 = geometry.arrowStroke3;
  drawing.arrowStroke4 = geometry.arrowStroke4;
  drawing.arrowTailLine = geometry.arrowTailLine;
  drawing.textRunLine = geometry.textRunLine;
  drawing.dimensionLine = geometry.dimensionLine;
  drawing.upperDeviationRecord = placement.upperDeviationRecord;
  drawing.lowerDeviationRecord = placement.lowerDeviationRecord;
  drawing.classLabelRecord = placement.classLabelRecord;
  drawing.valueTextRecord = placement.valueTextRecord;

  WriteWorkFile(workFilePath, AssembleOutputRecords(context, parameters, drawing));
}

int RunProcess(int argc, char** argv) {
  InitCodePage();
  const std::string argumentText = platform::ArgumentText(argc, argv);
  if (argumentText == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argumentText == "--version") {
    std::puts("diadim " DIADIM_VERSION);
    return 0;
  }
  try {
    Run(argumentText);
    return 0;
  } catch (const Error& error) {
    std::fprintf(stderr, "diadim: %s: %s\n", ErrorKindName(error.kind()), error.what());
    if (argumentText.empty()) std::fputs(kUsage, stderr);
    return ExitStatusOf(error.kind());
  }
}

}  // namespace diadim
