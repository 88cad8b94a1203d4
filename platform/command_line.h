// Splitting a command line into arguments the way Windows programs split
// their own (CommandLineToArgvW), so that a program started by the installer
// receives the words that it would receive on Windows. No shell takes part:
// characters such as ; & | $ ( ) are plain text.
#pragma once

#include <string>
#include <vector>

namespace zepo {

// The arguments of `commandLine`, the program name first.
//
// The program name ends at the first blank or tab, or, when it starts with a
// double quote, at the next double quote; backslashes and quotes inside it are
// plain characters. A line that starts with a blank therefore has an empty
// program name, as on Windows.
//
// The other arguments: blanks and tabs separate them outside double quotes;
// double quotes group and are removed; 2n backslashes before a quote give n
// backslashes and the quote groups, 2n+1 backslashes before a quote give n
// backslashes and a literal quote; backslashes elsewhere are literal; inside
// quotes, two quotes in a row give a literal quote and end the quoting. An
// unterminated quote runs to the end of the line. Blanks at the end of the
// line make no argument; "" makes an empty one.
//
// An empty line gives no arguments at all (Windows would answer with the
// calling program's own name).
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace zepo
