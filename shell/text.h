// String operations of the installer's language runtime, on UTF-8 strings
// whose characters are those of the system code page.
#pragma once

#include <cstddef>
#include <string>

namespace zepo {

// The first n characters (not bytes) of a UTF-8 string.
std::string leftChars(const std::string& text, std::size_t n);
// Upper case, for ASCII and the accented letters of Windows-1252.
std::string upperCase(const std::string& text);
// Numeric value of a text: blanks, tabs and line feeds anywhere are ignored,
// reading stops at the first character that cannot continue the number, a
// point is the decimal separator, and a text with no leading number gives 0.
double numericValue(const std::string& text);
// The shortest decimal text of a number, without a leading blank (30, 12.5).
std::string numberText(double value);

}  // namespace zepo
