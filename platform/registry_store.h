// The registry of the emulated workstation, kept in one REGEDIT4 file
// (registry.reg in the prefix) that people can read, diff and import with
// Wine's or Windows' regedit:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\prologue software]
//   @="default value"
//   "X:\\"="c:\\zepo \"quoted\""
//
// Keys are named by a root name in full (HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG)
// and a path below it; they match ignoring case and keep the spelling they
// were created with. Values are named, also ignoring case; the empty name is
// the key's default value (written @). Names and data are 8-bit text,
// stored as given. Inside quotes a backslash escapes \, " and the line ends
// (\n, \r), as regedit reads them.
//
// The file is rewritten after every change: REGEDIT4, then one block per key
// in a stable order (a key's sub keys follow it, ordered ignoring case),
// each after a blank line; a root key appears only when it holds values.
// The new text goes to a side file that is then renamed over the old one, so
// that a crash leaves the old registry or the new one, never a mix. Comments
// (';' lines) of a hand-edited file are not kept.
//
// Values of other types in a hand-edited file (dword:..., hex:..., hex(N):...)
// are kept as their text and written back as they were read.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zepo {

class RegistryStore {
 public:
  enum class Result {
    kDone,
    kNotFound,  // no such key (or value)
    kNotSaved,  // the file could not be written; nothing changed
  };

  // The registry kept in `file`. A missing or empty file is an empty
  // registry, written with the first change. Throws std::runtime_error with
  // the message "<file>:<line>: <problem>" when the file is malformed; the
  // file is left as it is.
  explicit RegistryStore(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }

  // Key paths are a root name (any case) and sub key names, separated by
  // backslashes; empty names (doubled or closing backslashes) are skipped.
  // The root keys always exist.

  // The key's full path as stored, nullopt when it does not exist (also for
  // an unknown root name).
  std::optional<std::string> keyPath(std::string_view path) const;

  // Creates the key and every missing key above it. `created` (when given)
  // tells whether anything was new. kNotFound for an unknown root name.
  Result createKey(std::string_view path, bool* created = nullptr);

  // The data of a string value, nullopt when the key or the value does not
  // exist or the value is not a string.
  std::optional<std::string> stringValue(std::string_view path, std::string_view name) const;

  // Sets a string value of an existing key, keeping the spelling of a value
  // name that exists already.
  Result setString(std::string_view path, std::string_view name, std::string_view data);

  Result deleteValue(std::string_view path, std::string_view name);

  // Orders key paths (upper-cased) so that a key's sub keys follow it.
  struct PathOrder {
    bool operator()(const std::string& a, const std::string& b) const;
  };

 private:
  struct Value {
    std::string name;
    std::string data;  // a string value's bytes, or the text of another type
    bool isString = true;
  };
  struct Key {
    std::string path;                     // as spelled when created
    std::map<std::string, Value> values;  // by upper-cased name
  };
  using Keys = std::map<std::string, Key, PathOrder>;  // by upper-cased path

  static std::optional<std::string> normalPath(std::string_view path);
  static Key* addKey(Keys& keys, std::string_view normal, bool* created);
  void load();
  bool save(const Keys& keys) const;

  std::filesystem::path file_;
  Keys keys_;
};

}  // namespace zepo
