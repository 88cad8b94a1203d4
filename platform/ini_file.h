// An INI file as the Windows profile functions (GetPrivateProfileStringA,
// WritePrivateProfileStringA) see it, on the file's raw bytes.
//
// Reading:
// - A file is a sequence of lines ended by CR LF, a lone LF or a lone CR; a
//   last line without a line end is still a line.
// - Blanks around a line, a section name, a key name and a value are
//   dropped; blanks are spaces, tabs, vertical tabs, form feeds and Ctrl-Z
//   (the end-of-file mark of DOS editors). Section and key names match
//   ignoring case (Windows-1252 letters).
// - A line that starts with '[' and holds a ']' further on opens a section;
//   its name is the text up to the LAST ']' of the line, and whatever
//   follows that ']' is ignored ("[A]]" is the section "A]"). Lines before
//   the first section form the section with the empty name.
// - Every other non-blank line is a key: the name is the text before the
//   first '=', the value the text after it. A line without '=' is a key that
//   has no value. There is no comment syntax of its own: a line such as
//   ";note=1" is simply a key named ";note", so it never matches an ordinary
//   name.
// - A NUL byte ends a name or a value: Windows hands them on as C strings.
// - Only the first section of a name is searched, and the first line of a
//   key in it wins.
// - A value wholly enclosed in a matching pair of double or single quotes
//   loses them (profileResult); what is inside stays as it is, blanks
//   included.
//
// A file that starts with a UTF-8 byte-order mark is UTF-8 text (the mark is
// kept when the file is written); one that starts with a UTF-16 byte-order
// mark (little- or big-endian) is UTF-16 text, and is written back as such;
// any other file is Windows-1252 text. Names and values cross this class in
// the file's own encoding, UTF-8 for a UTF-16 file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zepo {

class IniFile {
 public:
  // The file's contents, exactly as stored ("" for a missing file).
  explicit IniFile(std::string bytes);

  // The file's contents after the changes made by write().
  std::string bytes() const;
  // Whether the file is Unicode text (a UTF-8 or UTF-16 byte-order mark):
  // names and values then cross as UTF-8.
  bool isUnicode() const { return encoding_ != Encoding::kAnsi; }

  // The value of `key` in `section` as the file holds it: without its
  // surrounding blanks, up to a NUL, quotes kept. nullopt when the section
  // or the key is missing or the key's line has no '='; "" for a line
  // "key=".
  std::optional<std::string> read(std::string_view section, std::string_view key) const;

  // Sets `key` of `section` to `value`, or with nullopt removes every line of
  // the key from the section. Changes only what it must:
  // - the line of an existing key becomes "key=value", the key spelled as in
  //   the file, followed by the line end that the line had (the form that
  //   Windows writes a key in); a key whose value is already `value` is left
  //   alone, spacing and all;
  // - a missing key is added after the last key line of its section (the
  //   section's trailing blank lines and ';' lines stay below it), or right
  //   after the section's heading when it has no key;
  // - a missing section is added at the end of the file, after a CR LF when
  //   the file does not end with a line end.
  // Added lines end with CR LF; names keep the spelling they are given,
  // without surrounding blanks. The value loses its leading blanks, as
  // Windows writes it. Every other byte stays as it was. Returns whether the
  // contents changed.
  bool write(std::string_view section, std::string_view key,
             const std::optional<std::string>& value);

 private:
  enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

  Encoding encoding_ = Encoding::kAnsi;
  // The text, a UTF-16 file's as UTF-8 after a UTF-8 byte-order mark.
  std::string bytes_;
  std::string oddByte_;  // a UTF-16 file's last byte that is no whole unit
};

// What GetPrivateProfileStringA returns for a value read (or nullopt) and a
// default, in 8-bit text: the value without its quotes, or the default
// without its trailing blanks, cut to size - 1 characters. Its length is
// the function's result. As Windows does, a quoted value that fills the
// buffer exactly with its closing quote loses its last character in place
// of that quote (254 quoted characters give 253 with the usual 255).
std::string profileResult(const std::optional<std::string>& value, std::string_view defaultValue,
                          std::uint32_t size);

}  // namespace zepo
