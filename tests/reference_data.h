// The reference data of tests/data/ (its README says where the figures come
// from), read from the source tree.
#pragma once

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zepo {

// The bytes of tests/data/<name>. Throws std::runtime_error when the file
// cannot be read, so that the tests that need it fail rather than pass
// without it.
inline std::string referenceFile(const std::string& name) {
  std::ifstream in(ZEPO_SOURCE_DIR "/tests/data/" + name, std::ios::binary);
  if (!in) throw std::runtime_error(ZEPO_SOURCE_DIR "/tests/data/" + name + ": cannot be read");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The cases of a table of tests/data/: one a line, its fields each in
// brackets and apart by one blank ("[a b] [] [c]" is "a b", "" and "c").
inline std::vector<std::vector<std::string>> referenceCases(const std::string& name) {
  std::istringstream in(referenceFile(name));
  std::vector<std::vector<std::string>> cases;
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with('[') || !line.ends_with(']')) {
      throw std::runtime_error(name + ": not a line of fields in brackets: " + line);
    }
    std::vector<std::string>& fields = cases.emplace_back();
    for (std::size_t at = 1, end = 0; end + 1 < line.size(); at = end + 3) {
      end = std::min(line.find("] [", at), line.size() - 1);
      fields.push_back(line.substr(at, end - at));
    }
  }
  return cases;
}

}  // namespace zepo
