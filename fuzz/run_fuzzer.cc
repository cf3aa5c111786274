// libFuzzer target of the whole run: every input is one run of diadim, from
// the argument text to the overwritten work file, in a scratch directory.
//
// Input: ARGUMENTS SEP WORKFILE SEP TABLE, where SEP is the three bytes
// 00 7C 00 (NUL, '|', NUL). ARGUMENTS is the argument text; WORKFILE becomes
// the file that parameter 0 names, TABLE the file that parameter 15 names.
// A part that is missing (fewer separators) leaves its file missing; an empty
// part makes an empty file. A name that is not a plain file name (empty,
// holding "/", "." or "..", or too long) is not created, so the run meets a
// missing file. Inputs that no host can give are rejected: an argument text
// with a NUL byte (a command line cannot hold one), and a parameter 0 or 15
// with a ".." step, which would reach files outside the scratch directory.
//
// Properties, checked on every input (abort() on a violation):
// - the run returns, or throws diadim::Error; any other exception, a crash or
//   a sanitizer report is a finding of libFuzzer itself;
// - a failed run leaves every file byte for byte as written, and the
//   directory holds exactly those files;
// - a successful run leaves the table as it was, nothing beside the two files,
//   and a work file of 16 (key "z" or "Z") or 20 records, each ending in
//   CR LF, then one more CR LF; the fixed records stand on their lines, the
//   line records are four written numbers, the text records six fields.
//
// The run happens in a scratch directory made once (mkdtemp), entered for
// each input and left afterwards; the code page is set once, from the
// locale (run it under LC_ALL=ja_JP.WINDOWS-31J for code page 932). Give
// libFuzzer an absolute -artifact_prefix: a crash inside the run happens
// while the scratch directory is the current one.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "run/run.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSeparator("\0|\0", 3);
constexpr std::size_t kMaxNameLength = 200;

std::string g_scratch;
std::string g_home;

[[noreturn]] void Violation(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "run_fuzzer: property violated: %s %.*s\n", what,
               static_cast<int>(std::min<std::size_t>(detail.size(), 200)), detail.data());
  std::abort();
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t found = text.find(separator);
    if (found == std::string_view::npos) {
      parts.push_back(text);
      return parts;
    }
    parts.push_back(text.substr(0, found));
    text.remove_prefix(found + separator.size());
  }
}

bool HasParentStep(std::string_view name) {
  for (std::string_view step : Split(name, "/")) {
    if (step == "..") return true;
  }
  return false;
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxNameLength && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos;
}

void WriteFile(const std::string& name, std::string_view bytes) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) Violation("cannot create the input file", name);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
    Violation("cannot write the input file", name);
  }
}

std::optional<std::string> ReadFile(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

// Names in the scratch directory; anything but a regular file is a finding.
std::set<std::string> Listing() {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file()) Violation("the run left something that is not a file:", name);
    names.insert(name);
  }
  return names;
}

void Clear() {
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
}

// A number as the number-to-text rule writes it: no exponent, no plus sign,
// no trailing zero of a fraction, at most 15 significant digits, "0" for zero.
bool IsWrittenNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.empty() || (whole.size() > 1 && whole.front() == '0')) return false;
  std::size_t significant = 0;
  bool seen = false;
  auto count = [&](std::string_view digits) {
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      seen = seen || c != '0';
      if (seen) ++significant;
    }
    return true;
  };
  if (!count(whole)) return false;
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.back() == '0' || !count(fraction)) return false;
  }
  // Trailing zeros of a whole number are places, not significant digits.
  if (point == std::string_view::npos) {
    std::size_t zeros = 0;
    while (zeros < whole.size() && whole[whole.size() - 1 - zeros] == '0') ++zeros;
    significant = significant > zeros ? significant - zeros : significant;
  }
  return seen ? significant <= 15 : !negative && text == "0";
}

bool IsLineRecord(std::string_view record) {
  const std::vector<std::string_view> fields = Split(record, " ");
  if (fields.size() != 4) return false;
  for (std::string_view field : fields) {
    if (!IsWrittenNumber(field)) return false;
  }
  return true;
}

bool IsTextRecord(std::string_view record, std::string_view keyword) {
  // keyword x y 0 dirY textField; the text field may hold blanks.
  std::vector<std::string_view> fields;
  for (int i = 0; i < 5; ++i) {
    const std::size_t blank = record.find(' ');
    if (blank == std::string_view::npos) return false;
    fields.push_back(record.substr(0, blank));
    record.remove_prefix(blank + 1);
  }
  return fields[0] == keyword && IsWrittenNumber(fields[1]) && IsWrittenNumber(fields[2]) &&
         fields[3] == "0" && IsWrittenNumber(fields[4]);
}

void CheckWrittenWorkFile(std::string_view content, bool tolerance) {
  // Every record and the final empty line end in CR LF; no record holds a
  // line end of its own.
  if (content.size() < 2 || content.substr(content.size() - 2) != "\r\n") {
    Violation("the work file does not end with CR LF");
  }
  std::vector<std::string_view> lines = Split(content.substr(0, content.size() - 2), "\r\n");
  for (std::string_view line : lines) {
    if (line.find_first_of("\r\n") != std::string_view::npos) {
      Violation("a record of the work file holds a line end:", line);
    }
  }
  if (lines.back() != "") Violation("the work file does not end with an empty line");
  lines.pop_back();
  const std::size_t expected = tolerance ? 20 : 16;
  if (lines.size() != expected) {
    Violation("the work file does not hold the records of the output table:",
              std::to_string(lines.size()));
  }

  // The rows of the output table, numbered as the host knows them; rows 3,
  // 14, 15 and 17 only with a tolerance.
  std::vector<int> rows;
  for (int row = 1; row <= 20; ++row) {
    if (tolerance || (row != 3 && row != 14 && row != 15 && row != 17)) rows.push_back(row);
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const int row = rows[i];
    bool ok = true;
    switch (row) {
      case 1:
        ok = line.size() == 3 && line.substr(0, 2) == "lg" && line[2] >= '0' && line[2] <= '9';
        break;
      case 2:
        ok = line == "ly" ||
             (line.size() == 3 && line.substr(0, 2) == "ly" && line[2] >= '0' && line[2] <= '9');
        break;
      case 3:
      case 16:
        ok = line.substr(0, 2) == "cn";
        break;
      case 4:
        ok = line == "lt1";
        break;
      case 5:
        ok = line.substr(0, 2) == "lc";
        break;
      case 12:
      case 13:
        ok = line.empty() || IsLineRecord(line);
        break;
      case 14:
      case 15:
      case 17:
        ok = line.empty() || IsTextRecord(line, "ch");
        break;
      case 18:
        ok = line == "msg";
        break;
      case 20:
        ok = line.empty() || IsTextRecord(line, "cs");
        break;
      default:  // the extension lines, the arrowhead strokes, the dimension line
        ok = IsLineRecord(line);
        break;
    }
    if (!ok)
      Violation(("row " + std::to_string(row) + " of the work file is malformed:").c_str(), line);
  }
}

void RemoveScratch() {
  if (g_scratch.empty()) return;
  std::error_code ignored;
  fs::remove_all(g_scratch, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  diadim::InitCodePage();
  g_home = fs::current_path().string();
  std::string pattern = (fs::temp_directory_path() / "diadim-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Violation("cannot make the scratch directory");
  g_scratch = pattern;
  std::atexit(RemoveScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> parts = Split(input, kSeparator);
  const std::string_view argumentText = parts[0];
  if (argumentText.find('\0') != std::string_view::npos) return -1;

  const std::vector<std::string_view> parameters = Split(argumentText, " ");
  const std::string workName(parameters[0]);
  const std::optional<std::string> tableName =
      parameters.size() > 15 ? std::optional<std::string>(parameters[15]) : std::nullopt;
  if (HasParentStep(workName) || (tableName && HasParentStep(*tableName))) return -1;
  const bool tolerance = parameters.size() > 14 && parameters[14] != "z" && parameters[14] != "Z";

  if (::chdir(g_scratch.c_str()) != 0) Violation("cannot enter the scratch directory");

  // The files as the host leaves them before the run.
  const bool plainWork = IsPlainName(workName);
  std::optional<std::string> workBefore;
  std::optional<std::string> tableBefore;
  std::set<std::string> written;
  if (parts.size() > 1 && plainWork) {
    workBefore = std::string(parts[1]);
    WriteFile(workName, *workBefore);
    written.insert(workName);
  }
  const bool separateTable = tableName && *tableName != workName && IsPlainName(*tableName);
  if (parts.size() > 2 && separateTable) {
    tableBefore = std::string(parts[2]);
    WriteFile(*tableName, *tableBefore);
    written.insert(*tableName);
  }

  bool succeeded = true;
  try {
    diadim::Run(argumentText);
  } catch (const diadim::Error&) {
    succeeded = false;
  }

  if (Listing() != written) Violation("the run left the directory with other files");
  if (separateTable && ReadFile(*tableName) != tableBefore) Violation("the run changed the table");
  if (succeeded) {
    if (!workBefore) Violation("the run succeeded without a work file");
    CheckWrittenWorkFile(*ReadFile(workName), tolerance);
  } else if (plainWork && ReadFile(workName) != workBefore) {
    Violation("a failed run changed the work file");
  }

  Clear();
  if (::chdir(g_home.c_str()) != 0) Violation("cannot leave the scratch directory");
  return 0;
}
