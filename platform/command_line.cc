#include "platform/command_line.h"

namespace zepo {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  const std::size_t n = commandLine.size();
  if (n == 0) return args;

  std::size_t i = 0;
  std::string program;
  if (commandLine[0] == '"') {
    for (i = 1; i < n && commandLine[i] != '"'; ++i) program += commandLine[i];
    if (i < n) ++i;  // the closing quote
  } else {
    for (; i < n && !isBlank(commandLine[i]); ++i) program += commandLine[i];
  }
  args.push_back(program);

  while (i < n && isBlank(commandLine[i])) ++i;
  if (i == n) return args;

  std::string current;
  // `quotes` is 1 inside a quoted part and 0 outside; it counts to 3 only
  // transiently, while a run of quotes is read.
  int quotes = 0;
  std::size_t backslashes = 0;
  while (i < n) {
    const char c = commandLine[i];
    if (isBlank(c) && quotes == 0) {
      args.push_back(current);
      current.clear();
      backslashes = 0;
      while (i < n && isBlank(commandLine[i])) ++i;
      if (i == n) return args;
    } else if (c == '\\') {
      current += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      if (backslashes % 2 == 0) {
        current.resize(current.size() - backslashes / 2);
        ++quotes;
      } else {
        current.resize(current.size() - backslashes / 2 - 1);
        current += '"';
      }
      backslashes = 0;
      ++i;
      for (; i < n && commandLine[i] == '"'; ++i) {
        if (++quotes == 3) {
          current += '"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      current += c;
      backslashes = 0;
      ++i;
    }
  }
  args.push_back(current);
  return args;
}

}  // namespace zepo
