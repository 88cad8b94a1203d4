// Reads the reference data of testdata/: files of JSON lines, one object per
// line, whose members are strings, whole numbers, booleans, null or arrays of
// these.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zepo {

struct JsonValue {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
  Type type = Type::kNull;
  bool boolean = false;
  std::int64_t number = 0;
  std::string text;  // UTF-8; a \uXXXX escape gives that code point
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // The member `name` of an object; throws std::runtime_error when missing.
  const JsonValue& operator[](const std::string& name) const;
};

// Parses one JSON value; throws std::runtime_error on malformed text.
JsonValue parseJson(const std::string& text);

// The folder of the reference data (testdata/ of the shared material): the
// first of ../shared/testdata and ../../shared/testdata beside the source tree
// that exists, so that a checkout and a worktree below it both find it.
// Throws std::runtime_error when there is none: tests that need the data
// must fail, not pass silently, without it.
std::string referenceDataDir();

// Every non-blank line of the file, parsed; throws std::runtime_error naming
// the file (and the line) when it cannot be read or parsed.
std::vector<JsonValue> readJsonLines(const std::string& path);

}  // namespace zepo
