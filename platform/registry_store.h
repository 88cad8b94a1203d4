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
// The text is REGEDIT4, then one block per key in a stable order (a key's
// sub keys follow it, ordered ignoring case), each after a blank line. A key
// has a block of its own when it holds values, when the text gave it one,
// or when a program created it by name; a key that holds nothing and was
// only made on the way to a key below it needs none, as its sub key's path
// names it. A root key appears only when it holds values. Comments (';'
// lines) of a hand-edited file are not kept. Values of other types in a
// hand-edited file (dword:..., hex:..., hex(N):...) are kept as their text
// and written back as they were read.
//
// RegistryTree is the registry in memory and its text; RegistryStore keeps
// it in the file (on Linux: linux_registry_store.cc).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace zepo {

class RegistryTree {
 public:
  // Reading and writing take time in proportion to the text, however deep
  // its keys.
  RegistryTree();  // the root keys, nothing else

  // The registry of a REGEDIT4 text ("" is an empty registry). Throws
  // std::runtime_error with the message "<name>:<line>: <problem>" when
  // the text is malformed.
  static RegistryTree parse(std::string_view text, const std::string& name);
  std::string text() const;

  enum class Change { kMade, kNone, kNotFound };

  // Key paths are a root name (any case) and sub key names, separated by
  // backslashes; empty names (doubled or closing backslashes) are skipped.
  // The root keys always exist.

  // The key's full path as stored, nullopt when it does not exist (also for
  // an unknown root name).
  std::optional<std::string> keyPath(std::string_view path) const;
  // Creates the key and every missing key above it; kNone when it existed.
  Change createKey(std::string_view path);
  // The data of a string value, nullopt when the key or the value does not
  // exist or the value is not a string.
  std::optional<std::string> stringValue(std::string_view path, std::string_view name) const;
  // Sets a string value of an existing key, keeping the spelling of a value
  // name that exists already; kNone when it held that string already.
  Change setString(std::string_view path, std::string_view name, std::string_view data);
  Change deleteValue(std::string_view path, std::string_view name);

 private:
  struct Value {
    std::string name;
    std::string data;  // a string value's bytes, or the text of another type
    bool isString = true;
  };
  struct Key {
    std::string name;  // as spelled when created
    std::size_t parent = 0;
    std::map<std::string, std::size_t> subKeys;  // by upper-cased name
    std::map<std::string, Value> values;         // by upper-cased name
    bool named = false;                          // written even when empty
  };

  std::optional<std::size_t> find(std::string_view path) const;
  // The key of a path that is known to be well formed, made with every key
  // above it when missing.
  std::size_t make(std::string_view path, bool* made);

  // Every key, the root keys first; a key's index never changes.
  std::vector<Key> keys_;
};

// The registry kept in the file `file`. Every change is saved at once, by
// writing a new file and renaming it over the old one. A change is made to
// what the file holds when it is saved: another program that changed the
// file meanwhile (a second installer on the same workstation, a hand edit)
// loses nothing, as the file is read again under a lock (the file
// "<file>.lock") that every store holds from that reading to the renaming.
class RegistryStore {
 public:
  enum class Result {
    kDone,
    kNotFound,  // no such key (or value)
    kNotSaved,  // the file could not be written or read again; nothing changed
    kReadOnly,  // the file is read-only; nothing changed
  };

  // The registry kept in `file`. A missing or empty file is an empty
  // registry, written with the first change. Throws std::runtime_error with
  // a message that names the file (and the line, for malformed text) when
  // it cannot be read; the file is left as it is.
  explicit RegistryStore(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }

  // As RegistryTree's, on what the file holds now. A file that has become
  // unreadable meanwhile is read as it was last.
  std::optional<std::string> keyPath(std::string_view path);
  std::optional<std::string> stringValue(std::string_view path, std::string_view name);

  // `created` (when given) tells whether anything was new.
  Result createKey(std::string_view path, bool* created = nullptr);
  Result setString(std::string_view path, std::string_view name, std::string_view data);
  Result deleteValue(std::string_view path, std::string_view name);

 private:
  // What tells that the file has changed: its identity, size and times
  // (all zero for a missing file).
  struct Stamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0;  // nanoseconds
    bool operator==(const Stamp&) const = default;
  };

  // Reads the file again when it has changed since it was last read; throws
  // as the constructor does.
  void refresh();
  template <typename Edit>
  Result change(Edit edit);

  std::filesystem::path file_;
  RegistryTree tree_;
  Stamp stamp_;
};

// The name of a predefined key that holds keys and values
// ("HKEY_LOCAL_MACHINE"); null for HKEY_PERFORMANCE_DATA and HKEY_DYN_DATA,
// which are no such keys on the NT family, and for any other handle.
const char* predefinedKeyName(RegKey key);

}  // namespace zepo
