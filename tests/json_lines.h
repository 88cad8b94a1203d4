// Reads the reference data of tests/data/: one JSON object a line, whose
// members are strings, whole numbers or arrays of strings.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zepo {

struct JsonLine {
  std::map<std::string, std::string> values;  // strings, and numbers as written
  std::map<std::string, std::vector<std::string>> lists;
};

// The folder of the reference data, tests/data of the source tree (its
// README says where the figures come from). Throws std::runtime_error when
// it is missing, so that the tests that need it fail rather than pass
// without it.
std::string referenceDataDir();

// Every non-blank line of the file. A \u00XX escape gives the byte XX: the
// data writes Windows-1252 bytes that way. Throws std::runtime_error naming
// the file and line when it cannot be read or parsed.
std::vector<JsonLine> readJsonLines(const std::string& path);

}  // namespace zepo
