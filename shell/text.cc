#include "shell/text.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace zepo {

std::string leftChars(const std::string& text, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < n; ++count) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

std::string upperCase(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 'a' && c <= 'z') {
      out += static_cast<char>(c - 'a' + 'A');
    } else if (c == 0xC3 && i + 1 < text.size()) {
      // U+00E0..U+00FE (but not U+00F7) map to U+00C0..U+00DE.
      unsigned char d = static_cast<unsigned char>(text[i + 1]);
      out += static_cast<char>(c);
      out += static_cast<char>((d >= 0xA0 && d <= 0xBE && d != 0xB7) ? d - 0x20 : d);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

double numericValue(const std::string& text) {
  std::string digits;
  bool point = false;
  bool sign = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if (!sign && digits.empty() && !point && (c == '+' || c == '-')) {
      sign = true;
      digits += c;
    } else if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c == '.' && !point) {
      point = true;
      digits += c;
    } else {
      break;
    }
  }
  if (digits.find_first_of("0123456789") == std::string::npos) return 0;
  return std::stod(digits);
}

std::string numberText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s = buf;
  // Shortest form that reads back the same, as the runtime prints a Double.
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, value);
    if (std::stod(buf) == value) {
      s = buf;
      break;
    }
  }
  return s;
}

}  // namespace zepo
