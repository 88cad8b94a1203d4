// String operations of the installer's language runtime, on UTF-8 strings
// whose characters are those of the system code page.
#pragma once

#include <cstddef>
#include <string>

namespace zepo {

// The first n characters (not bytes) of a UTF-8 string.
std::string leftChars(const std::string& text, std::size_t n);
// Numeric value of a text: blanks, tabs and line feeds anywhere are ignored,
// reading stops at the first character that cannot continue the number, a
// point is the decimal separator, and a text with no leading number gives 0.
// A number beyond the range of a Double raises the runtime's overflow, 6.
double numericValue(const std::string& text);
// A result of the runtime's Double arithmetic: one beyond the range of a
// Double raises the overflow, 6, instead of going on as infinity.
double doubleResult(double value);
// A number as the runtime turns it into text: rounded to 15 significant
// digits, then the shortest text of that (10.05, -0.5, 30), in the exponent
// form from 1E+15 up and below 0.0001 (1.23456789012346E+17, 1E-05).
std::string numberText(double value);

}  // namespace zepo
