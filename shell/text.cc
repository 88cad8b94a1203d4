#include "shell/text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/errors.h"

namespace zepo {

std::string leftChars(const std::string& text, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < n; ++count) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

double numericValue(const std::string& text) {
  std::string digits;
  bool point = false;
  bool sign = false;
  bool negative = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if (!sign && digits.empty() && !point && (c == '+' || c == '-')) {
      sign = true;
      negative = c == '-';
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
  // Read without the locale, whose decimal separator may be a comma.
  double value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    // Without an exponent only a whole part can be too large; a fraction
    // too small for a Double is 0.
    std::size_t whole = digits.find('.');
    if (digits.substr(0, whole).find_first_not_of('0') != std::string::npos) {
      throw RuntimeError(kErrOverflow);
    }
    return 0;
  }
  return negative ? -value : value;
}

double doubleResult(double value) {
  if (!std::isfinite(value)) throw RuntimeError(kErrOverflow);
  return value;
}

std::string numberText(double value) {
  if (value == 0) return "0";  // -0 too
  // The value rounded to 15 significant digits: d.dddddddddddddde±x.
  char buffer[32];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string scientific(buffer, end);
  std::string text;
  if (scientific[0] == '-') {
    text = "-";
    scientific.erase(0, 1);
  }
  std::size_t e = scientific.find('e');
  int exponent = std::stoi(scientific.substr(e + 1));
  std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
  digits.erase(digits.find_last_not_of('0') + 1);

  if (exponent >= 15 || exponent < -4) {
    text += digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
    if (power.size() < 2) power.insert(0, 1, '0');
    return text + (exponent < 0 ? "E-" : "E+") + power;
  }
  if (exponent < 0) return text + "0." + std::string(-exponent - 1, '0') + digits;
  std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) return text + digits + std::string(whole - digits.size(), '0');
  return text + digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace zepo
