// The records handed back to the host, and their order in the work file.
//
// LineRecord and TextRecord format the drawing records that the composition
// makes; AssembleOutputRecords puts them, with the attribute records, into
// the fixed order that the host reads; FileText joins them with CR LF.
//
//   LineRecord(120, 45.5, 120, 75.5)                  -> "120 45.5 120 75.5"
//   TextRecord("cs", 115, 50.2, 1075.5, "\"30.5")     -> "cs 115 50.2 0 1075.5 \"30.5"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input/drawing_context.h"
#include "run/run_parameters.h"

namespace diadim {

// One line of the output without its line end; an empty record is a valid
// record and is written as an empty line.
using Record = std::string;
using OutputRecords = std::vector<Record>;

Record LineRecord(double startX, double startY, double endX, double endY);

// `textField` is written verbatim to the end of the line (it carries its own
// opening double quote; there is no closing one).
Record TextRecord(std::string_view keyword, double x, double y, double directionY,
                  std::string_view textField);

// The thirteen drawing records of a run; a record that no step made stays
// empty.
struct DrawingRecords {
  Record extensionLine1, extensionLine2;
  Record arrowStroke1, arrowStroke2, arrowStroke3, arrowStroke4;
  Record arrowTailLine, textRunLine, dimensionLine;
  Record upperDeviationRecord, lowerDeviationRecord, classLabelRecord, valueTextRecord;
};

// The records in the host's order: 20 with a tolerance key, 16 for "z" and
// "Z", which leave out the tolerance text kind and the three tolerance texts.
// Throws an out-of-range error for a record that would hold a line end (a
// CR or LF in a copied text), since the host reads one record per line.
OutputRecords AssembleOutputRecords(const DrawingContext& context, const RunParameters& parameters,
                                    const DrawingRecords& drawing);

// Every record followed by CR LF, and one more CR LF at the end.
std::string FileText(const OutputRecords& records);

}  // namespace diadim

namespace diadim {

// Overwrites the work file at `path` (the path it was read from) with the
// file text of `records`, in one step: on failure it keeps what it held.
void WriteWorkFile(const std::string& path, const OutputRecords& records);

}  // namespace diadim
