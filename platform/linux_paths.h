// Windows paths of the emulated workstation resolved to Linux paths inside
// its prefix: drives under dosdevices/<letter>:, shares under
// dosdevices/unc/<server>/<share>, every name matched the Windows way.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zepo {

// A Windows path taken apart: its root (a drive, or a server and share) and
// its components, with "." and ".." already resolved by name (never above
// the root). Separators '\' and '/' both count; repeated ones collapse.
struct WindowsPath {
  bool unc = false;
  char drive = 0;  // lower-case letter of a drive path
  std::string server, share;
  std::vector<std::string> components;
};

// Takes a Windows path apart. A path without a root ("zepo.ini",
// "\temp\x") is taken in `currentFolder` (a full Windows path), or on its
// drive. Throws RuntimeError 52 for a name with a character that Windows
// forbids (wildcards are allowed in the last component with
// `patternInLast`) and for a malformed root ("\\server" without a share).
WindowsPath parseWindowsPath(const std::string& path, const std::string& currentFolder,
                             bool patternInLast);

// Resolves Windows paths under a prefix's dosdevices folder. Each component
// is matched against what exists, exact spelling first, then ignoring case.
// Folder contents are cached (upper-cased name -> real names), checked
// against the folder's identity and modification time on every use, so a
// large folder is read once, not once per lookup; the layer's own changes
// are reported with noteAdded/noteRemoved. A path whose every component
// exists with exactly the spelling given needs none of that: exact spelling
// comes first, so one look at the whole Linux path settles it.
class PathResolver {
 public:
  // `dosdevices`: the Linux path of the prefix's dosdevices folder;
  // `currentFolder`: the Windows folder that relative paths start from.
  PathResolver(std::string dosdevices, std::string currentFolder);

  struct Resolved {
    std::string host;    // the Linux path
    std::string folder;  // the Linux path of the folder that holds it
    std::string name;    // the last component: its real name when it exists
    std::string given;   // the last component as the Windows path spells it
    bool exists = false;
    bool root = false;  // a drive root or a share: `folder` and `name` are empty
  };

  // For a file or folder operation: every folder on the way must exist.
  // Throws RuntimeError 52 for a forbidden character, 76 for an unknown
  // drive or share or a missing folder on the way. A missing last component
  // keeps the spelling it was given, for creating it.
  Resolved resolve(const std::string& windowsPath);

  struct ListTarget {
    std::string folder;   // the Linux path of the folder to list
    std::string pattern;  // the last component: a name or a pattern
    // A pattern without wildcards: the real name of the entry it names,
    // exact spelling first; "" when there is none.
    std::string name;
    // When `name` was found by its exact spelling: the entry's status,
    // symbolic links followed.
    std::optional<struct stat> status;
  };
  // For the listing: the folder and the last component, or nothing when the
  // drive, share or a folder on the way is missing. A path that ends in a
  // separator, or names a root, gives the pattern "*". Throws RuntimeError
  // 52 for a forbidden character.
  std::optional<ListTarget> resolveForListing(const std::string& windowsPath);

  // The real name in `folder` (a Linux path) of the Windows name `name`,
  // exact spelling first; nothing when there is none or `folder` is no
  // folder.
  std::optional<std::string> findName(const std::string& folder, const std::string& name);

  // The layer made or removed `name` in `folder` itself. Optional: a
  // change is seen anyway by the folder's time; telling spares a re-read
  // of the folder, which matters when many files are made in a large one.
  void noteAdded(const std::string& folder, const std::string& name);
  void noteRemoved(const std::string& folder, const std::string& name);

  const std::string& dosdevices() const { return dosdevices_; }
  void setCurrentFolder(std::string currentFolder) { currentFolder_ = std::move(currentFolder); }

 private:
  struct FolderKey {
    std::uint64_t device, inode;
    bool operator<(const FolderKey& o) const {
      return device != o.device ? device < o.device : inode < o.inode;
    }
  };
  struct FolderNames {
    std::int64_t mtimeSec = 0, mtimeNsec = 0;
    // Read so soon after the folder's last change that a change made by
    // someone else in the same clock tick would not show in its time: a
    // name that is not found is looked for again on disk.
    bool racy = false;
    bool readable = true;
    std::unordered_map<std::string, std::vector<std::string>> byUpper;  // sorted names
  };
  enum class Lookup { kFound, kMissing, kNoFolder };
  // The cache entry of a folder, fresh; nullptr when `folder` is no folder.
  FolderNames* namesOf(const std::string& folder, bool forceRead);
  // The same for the folder whose status `st` has just been taken.
  FolderNames* namesOf(const std::string& folder, const struct stat& st, bool forceRead);
  Lookup lookup(const std::string& folder, const std::string& name, std::string& real);
  // The same in the folder's fresh cache entry `names` (nullptr: no folder).
  Lookup lookupIn(const std::string& folder, FolderNames* names, const std::string& name,
                  std::string& real);
  // The Linux path that the path's root and its first `count` components
  // name when each is spelt as it exists; "" for a malformed root.
  std::string exactHost(const WindowsPath& path, std::size_t count) const;
  // The Linux path of the folder named by the path's root and its first
  // `count` components, with `names` its fresh cache entry; "" when some
  // folder is missing. One look when every name is spelt as it exists.
  std::string resolveFolder(const WindowsPath& path, std::size_t count, FolderNames*& names);
  // Whether the whole path exists spelt as given; `host` gets its Linux
  // path and `st` its status (symbolic links followed, but the last one
  // with `noFollow`). Exact spelling comes first, so nothing else is meant.
  bool findExact(const WindowsPath& path, std::string& host, struct stat& st, bool noFollow);
  // The Linux path of the path's drive root or share; "" when unknown.
  std::string rootFolder(const WindowsPath& path);
  void readFolder(const std::string& folder, FolderNames& names);

  std::string dosdevices_;
  std::string currentFolder_;
  std::map<FolderKey, FolderNames> cache_;
  // Exact Linux paths of folders that were last found spelt otherwise on
  // disk: resolved name by name at once, without looking for them first.
  std::unordered_set<std::string> spelledOtherwise_;
};

}  // namespace zepo
