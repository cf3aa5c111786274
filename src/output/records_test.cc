#include "output/records.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace diadim {
namespace {

TEST(LineRecord, WritesTheTwoEndsInTheCallersOrder) {
  EXPECT_EQ(LineRecord(120, 45.5, 120, 75.5), "120 45.5 120 75.5");
  EXPECT_EQ(LineRecord(30, 0, 29.2235428775616, -2.89777748233),
            "30 0 29.2235428775616 -2.89777748233");
}

TEST(TextRecord, WritesSixFieldsWithTheTextFieldVerbatim) {
  EXPECT_EQ(TextRecord("cs", 115, 50.2, 1075.5, "\"30.5"), "cs 115 50.2 0 1075.5 \"30.5");
  EXPECT_EQ(TextRecord("ch", 29, -37, -500, "\""), "ch 29 -37 0 -500 \"");
  EXPECT_EQ(TextRecord("ch", 0.5, 0, 0, "\" a, b "), "ch 0.5 0 0 0 \" a, b ");
}

class AssembleOutputRecordsTest : public ::testing::Test {
 protected:
  AssembleOutputRecordsTest() {
    context.layerGroup = 3;
    context.layer = 7;
    parameters.lineColor = "07";
    parameters.valueTextKind = "3.0";
    parameters.toleranceTextKind = "2";
    drawing.extensionLine1 = "e1";
    drawing.extensionLine2 = "e2";
    drawing.arrowStroke1 = "a1";
    drawing.arrowStroke2 = "a2";
    drawing.arrowStroke3 = "a3";
    drawing.arrowStroke4 = "a4";
    drawing.dimensionLine = "dl";
    drawing.upperDeviationRecord = "up";
    drawing.lowerDeviationRecord = "lo";
    drawing.classLabelRecord = "cl";
    drawing.valueTextRecord = "vt";
  }
  DrawingContext context;
  RunParameters parameters;
  DrawingRecords drawing;  // tail and run-out line stay empty
};

TEST_F(AssembleOutputRecordsTest, KeepsTheHostsOrderWithATolerance) {
  for (const char* key : {"H7", "1", "zz", "z ", ""}) {
    parameters.toleranceKey = key;
    EXPECT_EQ(AssembleOutputRecords(context, parameters, drawing),
              (OutputRecords{"lg3", "ly7", "cn2", "lt1", "lc07", "e1",    "e2", "a1",  "a2", "a3",
                             "a4",  "",    "",    "up",  "lo",   "cn3.0", "cl", "msg", "dl", "vt"}))
        << key;
  }
}

TEST_F(AssembleOutputRecordsTest, LeavesOutTheToleranceRecordsForZ) {
  context.layer.reset();
  context.layerGroup = 0;
  for (const char* key : {"z", "Z"}) {
    parameters.toleranceKey = key;
    EXPECT_EQ(AssembleOutputRecords(context, parameters, drawing),
              (OutputRecords{"lg0", "ly", "lt1", "lc07", "e1", "e2", "a1", "a2", "a3", "a4", "", "",
                             "cn3.0", "msg", "dl", "vt"}))
        << key;
  }
}

TEST_F(AssembleOutputRecordsTest, RefusesARecordThatWouldSpanLines) {
  // Command-line texts and table texts are copied verbatim, and a line end in
  // one of them would hand the host records that no step made.
  parameters.toleranceKey = "H7";
  drawing.lowerDeviationRecord = "ch 29 18.75 0 13.5 \"0\r\nlc7";
  try {
    AssembleOutputRecords(context, parameters, drawing);
    FAIL() << "a record with CR LF was assembled";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
    EXPECT_NE(std::string(error.what()).find("record 15"), std::string::npos) << error.what();
  }
  drawing.lowerDeviationRecord = "lo";
  for (const char* color : {"3\n", "\r3"}) {
    parameters.lineColor = color;
    EXPECT_THROW(AssembleOutputRecords(context, parameters, drawing), Error) << color;
  }
}

TEST(FileText, EndsEveryRecordWithCrLfAndAddsAnEmptyLine) {
  EXPECT_EQ(FileText({"lg1", "", "msg"}), "lg1\r\n\r\nmsg\r\n\r\n");
  EXPECT_EQ(FileText({}), "\r\n");
}

}  // namespace
}  // namespace diadim
