// Case-insensitive comparison of 8-bit Windows-1252 text, as Windows matches
// INI section and key names and registry key and value names: ASCII letters
// and the accented letters of the code page, each with its capital.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zepo {

// The capital of a Windows-1252 character (the character itself when it has
// none). The sharp s has no one-character capital and stays as it is.
inline char ansiUpper(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 0x20);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
  switch (u) {
    case 0x9A:  // s caron
    case 0x9C:  // oe
    case 0x9E:  // z caron
      return static_cast<char>(u - 0x10);
    case 0xFF:  // y diaeresis
      return static_cast<char>(0x9F);
    default:
      return c;
  }
}

// The text with every character replaced by its capital.
inline std::string ansiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ansiUpper(c);
  return out;
}

inline bool ansiEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ansiUpper(a[i]) != ansiUpper(b[i])) return false;
  }
  return true;
}

// Blanks and tabs: what Windows drops around names and values of INI and
// registry text.
inline bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

inline std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace zepo
