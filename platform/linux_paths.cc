#include "platform/linux_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <unordered_set>
#include <utility>

#include "platform/errors.h"
#include "platform/windows_names.h"

namespace zepo {

namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

std::vector<std::string> splitPieces(const std::string& text) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (isSeparator(c)) {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

// Adds the pieces to the components, resolving "." and ".." by name; ".."
// at the root stays at the root, as on Windows.
void appendPieces(std::vector<std::string>& components, const std::vector<std::string>& pieces,
                  bool patternInLast) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const bool last = i + 1 == pieces.size();
    std::string piece = last && pieces[i] != "." && pieces[i] != ".."
                            ? withoutTrailingDotsAndBlanks(pieces[i])
                            : pieces[i];
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    if (hasForbiddenCharacter(piece, patternInLast && last)) {
      throw RuntimeError(kErrBadFileNameOrNumber);
    }
    components.push_back(std::move(piece));
  }
}

bool hasDrive(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool isUnc(const std::string& path) {
  return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

std::timespec now() {
  std::timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return t;
}

}  // namespace

WindowsPath parseWindowsPath(const std::string& path, const std::string& currentFolder,
                             bool patternInLast) {
  WindowsPath result;
  if (isUnc(path)) {
    std::vector<std::string> pieces = splitPieces(path);
    if (pieces.size() < 2) throw RuntimeError(kErrBadFileNameOrNumber);
    if (path.size() > 2 && isSeparator(path[2])) {
      // Separators collapse only after the root: "\\\\SRV\zepo" names a
      // server with an empty name, which no network has.
      result.unc = true;
      return result;
    }
    for (int i = 0; i < 2; ++i) {
      if (pieces[i] == "." || pieces[i] == ".." || hasForbiddenCharacter(pieces[i], false)) {
        throw RuntimeError(kErrBadFileNameOrNumber);
      }
    }
    result.unc = true;
    result.server = pieces[0];
    result.share = pieces[1];
    appendPieces(result.components, {pieces.begin() + 2, pieces.end()}, patternInLast);
    return result;
  }
  if (hasDrive(path)) {
    // "d:name" (relative to the drive's current folder on Windows) is taken
    // from the drive's root: the workstation keeps no current folder per drive.
    result.drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    appendPieces(result.components, splitPieces(path.substr(2)), patternInLast);
    return result;
  }
  if (!isUnc(currentFolder) && !hasDrive(currentFolder)) {
    throw RuntimeError(kErrBadFileNameOrNumber);
  }
  result = parseWindowsPath(currentFolder, "", false);
  if (!path.empty() && isSeparator(path[0])) result.components.clear();
  appendPieces(result.components, splitPieces(path), patternInLast);
  return result;
}

PathResolver::PathResolver(std::string dosdevices, std::string currentFolder)
    : dosdevices_(std::move(dosdevices)), currentFolder_(std::move(currentFolder)) {}

void PathResolver::readFolder(const std::string& folder, FolderNames& names) {
  names.byUpper.clear();
  names.readable = false;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return;
  names.readable = true;
  while (dirent* entry = readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    names.byUpper[upperName(name)].push_back(std::move(name));
  }
  for (auto& [upper, real] : names.byUpper) {
    if (real.size() > 1) std::sort(real.begin(), real.end());
  }
}

PathResolver::FolderNames* PathResolver::namesOf(const std::string& folder, bool forceRead) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return nullptr;
  return namesOf(folder, st, forceRead);
}

PathResolver::FolderNames* PathResolver::namesOf(const std::string& folder, const struct stat& st,
                                                 bool forceRead) {
  if (!S_ISDIR(st.st_mode)) return nullptr;
  FolderKey key{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  auto it = cache_.find(key);
  if (it == cache_.end()) {
    if (cache_.size() >= 4096) cache_.clear();
    it = cache_.emplace(key, FolderNames{}).first;
    forceRead = true;
  }
  FolderNames& names = it->second;
  if (forceRead || !names.readable || names.mtimeSec != st.st_mtim.tv_sec ||
      names.mtimeNsec != st.st_mtim.tv_nsec) {
    std::timespec start = now();
    readFolder(folder, names);
    names.mtimeSec = st.st_mtim.tv_sec;
    names.mtimeNsec = st.st_mtim.tv_nsec;
    // File systems that keep whole seconds (FAT keeps two) get a wide window.
    std::int64_t window = st.st_mtim.tv_nsec == 0 ? 2'000'000'000 : 20'000'000;
    std::int64_t changed = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
    std::int64_t read = start.tv_sec * 1'000'000'000LL + start.tv_nsec;
    names.racy = changed + window > read;
  }
  return &names;
}

PathResolver::Lookup PathResolver::lookup(const std::string& folder, const std::string& name,
                                          std::string& real) {
  return lookupIn(folder, namesOf(folder, false), name, real);
}

PathResolver::Lookup PathResolver::lookupIn(const std::string& folder, FolderNames* names,
                                            const std::string& name, std::string& real) {
  if (names == nullptr) return Lookup::kNoFolder;
  std::string upper = upperName(name);
  auto pick = [&](FolderNames& n) {
    auto it = n.byUpper.find(upper);
    if (it == n.byUpper.end()) return false;
    const std::vector<std::string>& candidates = it->second;
    real = std::find(candidates.begin(), candidates.end(), name) != candidates.end()
               ? name
               : candidates.front();
    return true;
  };
  if (pick(*names)) return Lookup::kFound;
  if (names->racy) {
    names = namesOf(folder, true);
    if (names == nullptr) return Lookup::kNoFolder;
    if (pick(*names)) return Lookup::kFound;
  }
  if (!names->readable) {
    // A folder that may be searched but not read: only the exact spelling.
    struct stat st;
    if (lstat((folder + "/" + name).c_str(), &st) == 0) {
      real = name;
      return Lookup::kFound;
    }
  }
  return Lookup::kMissing;
}

std::optional<std::string> PathResolver::findName(const std::string& folder,
                                                  const std::string& name) {
  std::string real;
  if (lookup(folder, name, real) != Lookup::kFound) return std::nullopt;
  return real;
}

std::string PathResolver::exactHost(const WindowsPath& path, std::size_t count) const {
  std::string host = dosdevices_;
  if (path.unc) {
    if (path.server.empty() || path.share.empty()) return "";
    host += "/unc/";
    host += path.server;
    host += '/';
    host += path.share;
  } else {
    host += '/';
    host += path.drive;
    host += ':';
  }
  for (std::size_t i = 0; i < count; ++i) {
    host += '/';
    host += path.components[i];
  }
  return host;
}

std::string PathResolver::rootFolder(const WindowsPath& path) {
  std::string real;
  if (!path.unc) {
    std::string drive = std::string(1, path.drive) + ":";
    if (lookup(dosdevices_, drive, real) != Lookup::kFound) return "";
    return dosdevices_ + "/" + real;
  }
  std::string folder = dosdevices_ + "/unc";
  if (path.server.empty()) return "";
  if (lookup(folder, path.server, real) != Lookup::kFound) return "";
  folder += "/" + real;
  if (lookup(folder, path.share, real) != Lookup::kFound) return "";
  return folder + "/" + real;
}

std::string PathResolver::resolveFolder(const WindowsPath& path, std::size_t count,
                                        FolderNames*& names) {
  names = nullptr;
  const std::string exact = exactHost(path, count);
  const bool tryExact =
      !exact.empty() && (spelledOtherwise_.empty() || spelledOtherwise_.count(exact) == 0);
  if (tryExact) {
    struct stat st;
    if (stat(exact.c_str(), &st) == 0) names = namesOf(exact, st, false);
    if (names != nullptr) return exact;
  }
  // Some name on the way is spelt otherwise, or missing: name by name.
  std::string folder = rootFolder(path);
  if (folder.empty()) return "";
  std::string real;
  for (std::size_t i = 0; i < count; ++i) {
    if (lookup(folder, path.components[i], real) != Lookup::kFound) return "";
    folder += "/" + real;
  }
  names = namesOf(folder, false);
  if (names == nullptr) return "";
  if (folder == exact) {
    spelledOtherwise_.erase(exact);
  } else if (tryExact) {
    if (spelledOtherwise_.size() >= 4096) spelledOtherwise_.clear();
    spelledOtherwise_.insert(exact);
  }
  return folder;
}

bool PathResolver::findExact(const WindowsPath& path, std::string& host, struct stat& st,
                             bool noFollow) {
  if (path.components.empty()) return false;
  host = exactHost(path, path.components.size() - 1);
  if (host.empty() || (!spelledOtherwise_.empty() && spelledOtherwise_.count(host) != 0)) {
    return false;
  }
  host += '/';
  host += path.components.back();
  return (noFollow ? lstat(host.c_str(), &st) : stat(host.c_str(), &st)) == 0;
}

PathResolver::Resolved PathResolver::resolve(const std::string& windowsPath) {
  WindowsPath path = parseWindowsPath(windowsPath, currentFolder_, false);
  Resolved result;
  struct stat st;
  if (findExact(path, result.host, st, true)) {
    // Every name spelt as it exists: by the rule of exact spelling first,
    // nothing else can be meant.
    result.name = result.given = path.components.back();
    result.folder = result.host.substr(0, result.host.size() - result.name.size() - 1);
    result.exists = true;
    return result;
  }
  const std::size_t count = path.components.size() - (path.components.empty() ? 0 : 1);
  FolderNames* names = nullptr;
  std::string folder = resolveFolder(path, count, names);
  if (folder.empty()) throw RuntimeError(kErrPathNotFound);
  if (path.components.empty()) {
    result.host = folder;
    result.exists = true;
    result.root = true;
    return result;
  }
  const std::string& last = path.components.back();
  result.given = last;
  std::string real;
  switch (lookupIn(folder, names, last, real)) {
    case Lookup::kNoFolder:
      throw RuntimeError(kErrPathNotFound);
    case Lookup::kFound:
      result.name = real;
      result.exists = true;
      break;
    case Lookup::kMissing:
      result.name = last;
      break;
  }
  result.folder = folder;
  result.host = folder + "/" + result.name;
  return result;
}

std::optional<PathResolver::ListTarget> PathResolver::resolveForListing(
    const std::string& windowsPath) {
  WindowsPath path = parseWindowsPath(windowsPath, currentFolder_, true);
  bool endsInSeparator = !windowsPath.empty() && isSeparator(windowsPath.back());
  ListTarget target;
  if (path.components.empty() || endsInSeparator) {
    target.pattern = "*";
    // A trailing separator after a pattern ("c:\*\") names no folder.
    if (!path.components.empty() && hasWildcard(path.components.back())) return std::nullopt;
  } else {
    target.pattern = path.components.back();
    std::string host;
    struct stat st;
    if (!hasWildcard(target.pattern) && findExact(path, host, st, false)) {
      target.folder = host.substr(0, host.size() - target.pattern.size() - 1);
      target.name = target.pattern;
      target.status = st;
      return target;
    }
    path.components.pop_back();
  }
  FolderNames* names = nullptr;
  target.folder = resolveFolder(path, path.components.size(), names);
  if (target.folder.empty()) return std::nullopt;
  std::string real;
  if (!hasWildcard(target.pattern) &&
      lookupIn(target.folder, names, target.pattern, real) == Lookup::kFound) {
    target.name = real;
  }
  return target;
}

void PathResolver::noteAdded(const std::string& folder, const std::string& name) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return;
  auto it =
      cache_.find({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
  if (it == cache_.end()) return;
  std::vector<std::string>& names = it->second.byUpper[upperName(name)];
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    names.push_back(name);
    std::sort(names.begin(), names.end());
  }
  // The folder's new time is the layer's own change: nothing else is
  // assumed to have changed in between.
  it->second.mtimeSec = st.st_mtim.tv_sec;
  it->second.mtimeNsec = st.st_mtim.tv_nsec;
  it->second.racy = false;
}

void PathResolver::noteRemoved(const std::string& folder, const std::string& name) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return;
  auto it =
      cache_.find({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
  if (it == cache_.end()) return;
  auto entry = it->second.byUpper.find(upperName(name));
  if (entry != it->second.byUpper.end()) {
    std::erase(entry->second, name);
    if (entry->second.empty()) it->second.byUpper.erase(entry);
  }
  it->second.mtimeSec = st.st_mtim.tv_sec;
  it->second.mtimeNsec = st.st_mtim.tv_nsec;
  it->second.racy = false;
}

}  // namespace zepo
