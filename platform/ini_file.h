// An INI file as the Windows profile functions (GetPrivateProfileStringA,
// WritePrivateProfileStringA) see it, on the file's raw bytes.
//
// Reading:
// - A file is a sequence of lines ended by CR LF, a lone LF or a lone CR; a
//   last line without a line end is still a line.
// - Blanks and tabs around a line, a section name, a key name and a value are
//   dropped. Section and key names match ignoring case (Windows-1252 letters).
// - A line that starts with '[' and holds a ']' opens a section; its name is
//   the text up to the first ']', and whatever follows the ']' is ignored.
//   Lines before the first section form the section with the empty name.
// - Every other non-blank line is a key: the name is the text before the
//   first '=', the value the text after it. A line without '=' is a key that
//   has no value. There is no comment syntax of its own: a line such as
//   ";note=1" is simply a key named ";note", so it never matches an ordinary
//   name.
// - Only the first section of a name is searched, and the first line of a
//   key in it wins.
// - A value wholly enclosed in a matching pair of double or single quotes
//   loses them; what is inside stays as it is, blanks included.
//
// A file that starts with a UTF-8 byte-order mark is UTF-8 text (the mark is
// kept when the file is written); any other file is Windows-1252 text. Names
// and values cross this class in the file's own encoding.
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
  const std::string& bytes() const { return bytes_; }
  // Whether the file starts with a UTF-8 byte-order mark.
  bool isUtf8() const;

  // The value of `key` in `section`, without its surrounding blanks and
  // quotes. nullopt when the section or the key is missing or the key's line
  // has no '='; "" for a line "key=".
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
  std::string bytes_;
};

// What GetPrivateProfileStringA returns for a read value (or nullopt) and a
// default, in 8-bit text: the value, or the default without its trailing
// blanks, cut to size - 1 characters. Its length is the function's result.
std::string profileResult(const std::optional<std::string>& value, std::string_view defaultValue,
                          std::uint32_t size);

}  // namespace zepo
