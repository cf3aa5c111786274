#include "output/records.h"

#include "base/error.h"
#include "base/number.h"
#include "platform/platform.h"

namespace diadim {
namespace {

// The host reads one record per line, so a text from the command line or
// the table that holds a line end (a quoted table item may run across
// lines) would split its record and shift every later one: the host would
// draw records that no step made. Such a record cannot be written.
void RequireOneLine(const OutputRecords& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].find_first_of("\r\n") != Record::npos) {
      throw Error(ErrorKind::kOutOfRange, "record " + std::to_string(i + 1) + " " +
                                              Quoted(records[i]) +
                                              " would hold a line end of its own");
    }
  }
}

}  // namespace

Record LineRecord(double startX, double startY, double endX, double endY) {
  return FormatNumber(startX) + ' ' + FormatNumber(startY) + ' ' + FormatNumber(endX) + ' ' +
         FormatNumber(endY);
}

Record TextRecord(std::string_view keyword, double x, double y, double directionY,
                  std::string_view textField) {
  Record record(keyword);
  record += ' ' + FormatNumber(x) + ' ' + FormatNumber(y) + " 0 " + FormatNumber(directionY) + ' ';
  record += textField;
  return record;
}

OutputRecords AssembleOutputRecords(const DrawingContext& context, const RunParameters& parameters,
                                    const DrawingRecords& drawing) {
  const bool tolerance = RequestsTolerance(parameters.toleranceKey);
  OutputRecords records;
  records.push_back("lg" + std::to_string(context.layerGroup));
  records.push_back("ly" + (context.layer ? std::to_string(*context.layer) : std::string()));
  if (tolerance) records.push_back("cn" + parameters.toleranceTextKind);
  records.push_back("lt1");
  records.push_back("lc" + parameters.lineColor);
  records.push_back(drawing.extensionLine1);
  records.push_back(drawing.extensionLine2);
  records.push_back(drawing.arrowStroke1);
  records.push_back(drawing.arrowStroke2);
  records.push_back(drawing.arrowStroke3);
  records.push_back(drawing.arrowStroke4);
  records.push_back(drawing.arrowTailLine);
  records.push_back(drawing.textRunLine);
  if (tolerance) {
    records.push_back(drawing.upperDeviationRecord);
    records.push_back(drawing.lowerDeviationRecord);
  }
  records.push_back("cn" + parameters.valueTextKind);
  if (tolerance) records.push_back(drawing.classLabelRecord);
  records.push_back("msg");
  records.push_back(drawing.dimensionLine);
  records.push_back(drawing.valueTextRecord);
  RequireOneLine(records);
  return records;
}

std::string FileText(const OutputRecords& records) {
  std::string text;
  for (const Record& record : records) {
    text += record;
    text += "\r\n";
  }
  text += "\r\n";
  return text;
}

}  // namespace diadim

namespace diadim {

void WriteWorkFile(const std::string& path, const OutputRecords& records) {
  platform::ReplaceFile(path, FileText(records));
}

}  // namespace diadim
