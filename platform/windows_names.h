// How Windows compares and matches file names: case-insensitive upper-case
// forms, the characters it forbids, and its wildcard rules.
#pragma once

#include <string>

namespace zepo {

// The upper-case form of a UTF-8 name, by which Windows compares names:
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters are folded.
// Bytes that are no well-formed UTF-8 stay as they are.
std::string upperName(const std::string& utf8);

// True when the name holds '*' or '?'.
bool hasWildcard(const std::string& name);

// True when the name holds a character that Windows forbids in a file name:
// < > : " | ? *, or a control character. With `allowWildcards`, '*' and '?'
// are allowed (the last component of a listing's pattern).
bool hasForbiddenCharacter(const std::string& name, bool allowWildcards);

// True when the installer's paths can spell the file name `name` (UTF-8),
// so that every later operation reaches the entry again: well-formed, every
// character in the system code page (names cross text files and the "A"
// functions in it), no forbidden character and no separator, and no
// trailing dot or blank (a path drops them). A Linux folder may hold other
// names; Windows clients do not see them as they are.
bool isSpellableName(const std::string& name);

// The last component of a path as Windows reads it: without its trailing
// dots and blanks ("system.ini." names system.ini; "..." names nothing and
// gives ""). A pattern keeps them ("*." matches the names without a dot).
std::string withoutTrailingDotsAndBlanks(const std::string& name);

// True when `name` matches the listing pattern by the Windows rules,
// ignoring case: '*' matches any run of characters; '?' matches one
// character, or none at the end of the name or before a dot; "*." matches
// names without a dot; a pattern ".*" or "." at the end also matches a name
// that has no dot there ("*.*" matches every name, "readme.*" matches
// "README").
bool matchesPattern(const std::string& pattern, const std::string& name);

// The folder of a program from the module file name the system gives
// (d:\zepo\clientzepo.exe gives d:\zepo). A program started from a share may
// get its name in the system's long-path spelling (\\?\UNC\SRV\zepo\...,
// \\?\d:\...) or, under Wine, without the leading \\?\ (UNC\SRV\zepo\..., a
// relative path): each gives the folder as the installer spells it
// (\\SRV\zepo).
std::string moduleFolder(const std::string& moduleFileName);

}  // namespace zepo
