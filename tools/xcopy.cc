// xcopy: the tree copy that the installer starts, for systems that have no
// xcopy of their own. It takes Windows paths and resolves them through the
// workstation prefix in use (ZEPO_PREFIX), as the installer does.
//
//   xcopy SOURCE DESTINATION [/S] [/E] [/Y] [/I]
//
// SOURCE is a folder, or a folder and a file pattern ("\\SRV1\zepo\prog\*.*");
// DESTINATION is a folder, optionally followed by "\*.*". Every ordinary and
// read-only file of SOURCE that matches the pattern is copied into
// DESTINATION; with /S the subfolders too, recursively, those that hold no
// file to copy anywhere below left out; /E also makes the empty ones. Hidden
// and system files and folders are skipped, and so is a folder link that
// leads back to a folder the copy is in. Missing folders are made
// (DESTINATION and its parents too), existing files are overwritten. /Y and
// /I change nothing, as nothing is ever asked. Switches are case-insensitive.
//
// Copies keep the source's modification time.
//
// Several files are copied at once (ZEPO_XCOPY_THREADS, 8 unless it says
// otherwise; 1 copies one file after another), and the folders ahead are
// listed meanwhile: over a slow link each file operation is a round trip,
// and waiting for several at a time is what makes the copy fast. What is
// printed and the exit code stay those of a copy of one file after another
// (copy_jobs.h tells how a failure is reported).
//
// Output: each source file as it is copied, then "N File(s) copied".
// Exit codes: 0 files copied; 1 no file found to copy; 4 bad command line,
// source unreachable, or a copy into itself; 5 a file or folder could not be
// written (the copy stops at the first failure).
//
// Listing, attributes and folders go through the platform interface, so
// that hidden files, name matching and errors follow the workstation's
// rules. File contents go straight from Linux path to Linux path
// (workstationHostPath, std::filesystem::copy_file) when the destination
// folder was made by this run: the per-file path resolution of the
// interface's copy (each component matched ignoring case, a new name checked
// against the whole folder) made a tree of 20,000 small files copy 1.6 times
// slower than cp -r. Into a folder that already existed, where a file may be
// there under another spelling, each file goes through the interface.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "platform/errors.h"
#include "platform/windows_names.h"
#include "platform/workstation_platform.h"
#include "tools/copy_jobs.h"

namespace fs = std::filesystem;

namespace zepo {
namespace {

constexpr int kExitCopied = 0;
constexpr int kExitNothingFound = 1;
constexpr int kExitBadStart = 4;
constexpr int kExitWriteFailure = 5;

constexpr int kDefaultThreads = 8;
constexpr int kMaxThreads = 64;

// ZEPO_XCOPY_THREADS: how many files are copied at once.
int threadCount() {
#ifdef _WIN32
  // From kernel32, as every Windows has it (the C runtime's getenv is not
  // among the imports known to be on Windows XP).
  char buffer[32] = "";
  if (::GetEnvironmentVariableA("ZEPO_XCOPY_THREADS", buffer, sizeof buffer) >= sizeof buffer)
    buffer[0] = 'x';  // too long to be a number of threads
  const char* text = buffer;
#else
  const char* text = std::getenv("ZEPO_XCOPY_THREADS");
#endif
  if (text == nullptr || *text == '\0') return kDefaultThreads;
  char* end = nullptr;
  long count = std::strtol(text, &end, 10);
  if (*end != '\0' || count < 1 || count > kMaxThreads) {
    std::fprintf(stderr, "xcopy: ZEPO_XCOPY_THREADS=%s is no number from 1 to %d; using %d\n", text,
                 kMaxThreads, kDefaultThreads);
    return kDefaultThreads;
  }
  return static_cast<int>(count);
}

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string text) {
  for (char& c : text) c = upperAscii(c);
  return text;
}

bool hasWildcard(const std::string& text) {
  return text.find_first_of("*?") != std::string::npos;
}

bool isAllPattern(const std::string& pattern) {
  return pattern == "*.*" || pattern == "*";
}

std::string join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && isSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

// A drive's root must be asked for as "c:\": "c:" alone names the drive's
// current folder on Windows.
std::string queryable(const std::string& folder) {
  return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

// The root ("C:" or "\\SRV\SHARE") and the components below it, upper case,
// "." and ".." resolved: enough to tell whether two paths name one folder.
std::vector<std::string> normalized(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  std::size_t rootComponents =
      path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]) ? 2 : 1;
  auto flush = [&] {
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (parts.size() > rootComponents) parts.pop_back();
    } else {
      parts.push_back(upperAscii(part));
    }
    part.clear();
  };
  for (char c : path) {
    if (isSeparator(c))
      flush();
    else
      part += c;
  }
  flush();
  return parts;
}

bool isSameOrBelow(const std::string& path, const std::string& folder) {
  std::vector<std::string> p = normalized(path);
  std::vector<std::string> f = normalized(folder);
  return p.size() >= f.size() && std::equal(f.begin(), f.end(), p.begin());
}

// A drive root ("c:", "c:\") or a share ("\\SRV\zepo"): it exists or
// nothing can make it.
bool isRoot(const std::string& path) {
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))
    return normalized(path).size() <= 2;
  return normalized(path).size() <= 1;
}

std::string parentOf(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && isSeparator(path[end - 1])) --end;
  std::size_t cut = path.find_last_of("\\/", end == 0 ? 0 : end - 1);
  return cut == std::string::npos ? "" : path.substr(0, cut);
}

struct Options {
  std::string source;        // as given
  std::string sourceFolder;  // the folder and the pattern that it names
  std::string pattern = "*.*";
  std::string destination;
  bool subfolders = false;
  bool emptySubfolders = false;
};

struct BadCommandLine {
  std::string message;
};

// Trouble with the source (it cannot be listed): exit code 4.
struct SourceFailure {
  std::string message;
};

Options parseArguments(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> paths;
  for (const std::string& arg : args) {
    if (!arg.empty() && arg[0] == '/') {
      std::string name = upperAscii(arg);
      if (name == "/S") {
        options.subfolders = true;
      } else if (name == "/E") {
        options.subfolders = true;
        options.emptySubfolders = true;
      } else if (name != "/Y" && name != "/I") {
        throw BadCommandLine{"Invalid switch - " + arg};
      }
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 2 || paths[0].empty() || paths[1].empty())
    throw BadCommandLine{"Invalid number of parameters"};

  options.source = paths[0];
  if (hasWildcard(options.source.substr(0, options.source.find_last_of("\\/") + 1)))
    throw BadCommandLine{"Invalid path - " + options.source};

  std::string destination = paths[1];
  while (destination.size() > 1 && isSeparator(destination.back()) &&
         !(destination.size() == 3 && destination[1] == ':'))
    destination.pop_back();
  std::size_t dcut = destination.find_last_of("\\/");
  std::string dlast = dcut == std::string::npos ? destination : destination.substr(dcut + 1);
  if (isAllPattern(dlast) && dcut != std::string::npos)
    destination = destination.substr(0, dcut + (dcut == 2 && destination[1] == ':' ? 1 : 0));
  else if (hasWildcard(destination))
    throw BadCommandLine{"Invalid path - " + paths[1]};
  options.destination = destination;
  return options;
}

// A destination folder made only when something goes into it.
struct Target {
  std::string path;
  Target* parent = nullptr;
  bool ready = false;
  bool madeNow = false;   // made by this run: nothing can be inside yet
  std::string host = {};  // its Linux path, once ready
};

class TreeCopy {
 public:
  TreeCopy(Platform& platform, const Options& options) : platform_(platform), options_(options) {}

  int run() {
    resolveSource();
    std::vector<std::string> destination = normalized(options_.destination);
    std::vector<std::string> source = normalized(options_.sourceFolder);
    if (destination == source) throw BadCommandLine{"File cannot be copied onto itself"};
    if (options_.subfolders && isSameOrBelow(options_.destination, options_.sourceFolder))
      throw BadCommandLine{"Cannot perform a cyclic copy"};

    std::vector<std::unique_ptr<Platform>> workers;
    if (int threads = threadCount(); threads > 1) {
      for (int i = 0; i < threads; ++i) workers.push_back(makeWorkstationPlatform());
    }
    CopyJobs jobs(platform_, std::move(workers));
    jobs_ = &jobs;
    Target top{options_.destination};
    // A failure of the walk comes after every copy handed over, in the
    // order of the copy; a failed copy among those comes first.
    std::exception_ptr failure;
    try {
      walk(top);
    } catch (const CopyJobs::Stopped&) {
    } catch (...) {
      failure = std::current_exception();
    }
    if (std::exception_ptr copyFailure = jobs.finish()) failure = copyFailure;
    const long copied = jobs.copied();
    try {
      if (failure) std::rethrow_exception(failure);
    } catch (const RuntimeError& error) {
      std::fprintf(stderr, "File creation error - %s\n", error.what());
      report(copied);
      return kExitWriteFailure;
    } catch (const SourceFailure& failure) {
      std::fprintf(stderr, "%s\n", failure.message.c_str());
      report(copied);
      return kExitBadStart;
    }
    if (copied == 0) std::fprintf(stderr, "File not found - %s\n", options_.pattern.c_str());
    report(copied);
    return copied == 0 ? kExitNothingFound : kExitCopied;
  }

 private:
  static void report(long copied) {
    std::printf("%ld File(s) copied\n", copied);
    std::fflush(stdout);
  }

  // Finds the folder and the pattern that the source names: a folder
  // alone stands for all its files.
  void resolveSource() {
    std::string source = options_.source;
    while (source.size() > 1 && isSeparator(source.back()) && !isRoot(source)) source.pop_back();
    if (!hasWildcard(source) && isFolder(source)) {
      options_.sourceFolder = source;
      options_.pattern = "*.*";
      return;
    }
    std::size_t cut = source.find_last_of("\\/");
    if (cut == std::string::npos && source.size() > 2 && source[1] == ':') {
      options_.sourceFolder = source.substr(0, 2);  // "c:*.*"
      options_.pattern = source.substr(2);
    } else if (cut != std::string::npos) {
      options_.sourceFolder = source.substr(0, cut == 2 && source[1] == ':' ? 3 : cut);
      options_.pattern = source.substr(cut + 1);
    }
    if (options_.sourceFolder.empty() || options_.pattern.empty() ||
        !isFolder(options_.sourceFolder))
      throw SourceFailure{"Invalid path - " + options_.source};
  }

  bool isFolder(const std::string& path) {
    try {
      return platform_.getAttributes(queryable(path)) & kAttrDirectory;
    } catch (const RuntimeError&) {
      return false;
    }
  }

  // The names of a listing, collected whole: the listing is a single one,
  // and the copy of a subfolder starts others.
  static std::vector<std::string> list(Platform& platform, const std::string& pathName,
                                       int attributes) {
    std::vector<std::string> names;
    try {
      for (std::string name = platform.listFirst(pathName, attributes); !name.empty();
           name = platform.listNext())
        names.push_back(name);
    } catch (const RuntimeError& error) {
      throw SourceFailure{pathName + ": " + error.what()};
    }
    return names;
  }

  void makeReady(Target& target) {
    if (target.ready) return;
    if (target.parent) {
      makeReady(*target.parent);
      if (target.parent->madeNow || !exists(target.path)) {
        platform_.makeFolder(target.path);
        target.madeNow = true;
      }
    } else {
      target.madeNow = makeFolders(target.path);
    }
    target.host = workstationHostPath(platform_, queryable(target.path));
    target.ready = true;
  }

  bool exists(const std::string& path) {
    try {
      if (platform_.getAttributes(queryable(path)) & kAttrDirectory) return true;
    } catch (const RuntimeError&) {
      return false;
    }
    throw RuntimeError(kErrPathFileAccess);  // a file where a folder is needed
  }

  // Makes `path` and the parents it lacks; tells whether it was made now.
  bool makeFolders(const std::string& path) {
    if (isRoot(path) || exists(path)) return false;
    makeFolders(parentOf(path));
    platform_.makeFolder(path);
    return true;
  }

  // A folder of the source as the walk needs it, found out on a worker
  // ahead of the walk.
  struct FolderSurvey {
    std::string source;
    // The folders that the copy is in, this one last once found out. A
    // folder link that leads back to one of them (prog\giro -> ..) is not
    // entered again, or the copy would go round for ever.
    std::vector<FileIdentity> inside;
    bool enteredAlready = false;
    std::string host;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    std::set<std::string> readOnly;
    std::shared_ptr<CopyJobs::Job> job;
  };

  std::shared_ptr<FolderSurvey> newSurvey(std::string source, std::vector<FileIdentity> inside) {
    auto folder = std::make_shared<FolderSurvey>();
    folder->source = std::move(source);
    folder->inside = std::move(inside);
    return folder;
  }

  void survey(Platform& platform, FolderSurvey& folder) const {
    const std::string& source = folder.source;
    FileIdentity identity;
    try {
      folder.host = workstationHostPath(platform, source);
      identity = platform.fileIdentity(source);
    } catch (const RuntimeError& error) {
      throw SourceFailure{source + ": " + error.what()};
    }
    if (std::find(folder.inside.begin(), folder.inside.end(), identity) != folder.inside.end()) {
      folder.enteredAlready = true;
      return;
    }
    folder.inside.push_back(identity);
    FolderScan scan = scanFolder(folder.host);
    if (isAllPattern(options_.pattern)) {
      // One listing gives the visible files and folders; the scan tells
      // which is which.
      for (const std::string& name : list(platform, join(source, "*.*"), kAttrDirectory))
        (scan.folders.count(name) ? folder.folders : folder.files).push_back(name);
    } else {
      folder.files = list(platform, join(source, options_.pattern), kAttrNormal);
      if (options_.subfolders) {
        for (const std::string& name : list(platform, join(source, "*.*"), kAttrDirectory))
          if (scan.folders.count(name)) folder.folders.push_back(name);
      }
    }
    if (!options_.subfolders) folder.folders.clear();
    folder.readOnly = std::move(scan.readOnly);
  }

  // Copies the source's folder into `top`, one folder after another in the
  // order of a recursive walk (each folder's files, then its subfolders).
  void walk(Target& top) {
    std::deque<Target> targets;  // where the folders below go
    // The folders still to walk, the next one last.
    struct Pending {
      std::shared_ptr<FolderSurvey> folder;
      Target* target;
    };
    std::vector<Pending> pending{{newSurvey(options_.sourceFolder, {}), &top}};
    while (!pending.empty()) {
      // The next few folders are surveyed ahead, in the order of the walk,
      // and no more: what a survey looks up on a share stays fresh in the
      // client's caches until the files are copied.
      const std::size_t ahead = std::max<std::size_t>(1, jobs_->threads());
      for (std::size_t i = pending.size(), n = 0; i-- > 0 && n < ahead; ++n) {
        if (!pending[i].folder->job) {
          std::shared_ptr<FolderSurvey> folder = pending[i].folder;
          folder->job =
              jobs_->survey([this, folder](Platform& platform) { survey(platform, *folder); });
        }
      }
      Pending next = std::move(pending.back());
      pending.pop_back();
      FolderSurvey& folder = *next.folder;
      Target& target = *next.target;
      jobs_->wait(folder.job);
      if (folder.enteredAlready) continue;
      copyFiles(folder, target);
      for (auto name = folder.folders.rbegin(); name != folder.folders.rend(); ++name) {
        targets.push_back(Target{join(target.path, *name), &target});
        pending.push_back({newSurvey(join(folder.source, *name), folder.inside), &targets.back()});
      }
    }
  }

  void copyFiles(const FolderSurvey& folder, Target& target) {
    if (options_.emptySubfolders) makeReady(target);
    for (const std::string& name : folder.files) {
      makeReady(target);
      // Two names that differ in case only are one file in a folder that
      // was there: the second copy waits for the first, as it would.
      if (!handedOver_.insert(upperName(join(target.path, name))).second) {
        jobs_->settle();
        handedOver_.clear();
        handedOver_.insert(upperName(join(target.path, name)));
      }
      // As xcopy does without /K, the copy of a read-only file is not
      // read-only, so that the next copy can replace it.
      const bool readOnly = folder.readOnly.count(name) != 0;
      std::string from = join(folder.source, name);
      if (target.madeNow) {
        jobs_->copy(from, [from = folder.host + "/" + name, to = target.host + "/" + name,
                           readOnly](Platform&) {
          copyHostFile(from, to);
          if (readOnly) makeWritable(to);
        });
      } else {
        jobs_->copy(from, [from, to = join(target.path, name), readOnly](Platform& platform) {
          platform.copyFile(from, to);
          // it may have another spelling
          if (readOnly) makeWritable(workstationHostPath(platform, to));
        });
      }
    }
  }

  static void makeWritable(const std::string& host) {
    std::error_code ec;
    fs::permissions(host, fs::perms::owner_write, fs::perm_options::add, ec);
  }

  struct FolderScan {
    std::set<std::string> folders;   // subfolders, hidden ones too
    std::set<std::string> readOnly;  // files that the owner cannot write
  };

  static FolderScan scanFolder(const std::string& host) {
    FolderScan scan;
    std::error_code ec;
    for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code statusError;
      fs::file_status status = it->status(statusError);
      if (statusError) continue;
      std::string name = it->path().filename().string();
      if (fs::is_directory(status))
        scan.folders.insert(name);
      else if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        scan.readOnly.insert(name);
    }
    return scan;
  }

  // Copies a file into a folder that this run made, so that no other
  // spelling of its name can be there already. The copy keeps the
  // source's modification time, as every Windows copy does.
  static void copyHostFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
      fs::file_time_type modified = fs::last_write_time(from, ec);
      if (!ec) fs::last_write_time(to, modified, ec);
      return;
    }
    if (ec == std::errc::no_space_on_device) throw RuntimeError(kErrDiskFull);
    if (ec == std::errc::permission_denied) throw RuntimeError(kErrPermissionDenied);
    if (ec == std::errc::no_such_file_or_directory) throw RuntimeError(kErrFileNotFound);
    throw RuntimeError(kErrPathFileAccess);
  }

  Platform& platform_;
  Options options_;
  CopyJobs* jobs_ = nullptr;
  // The destinations (upper case) of the copies handed over since the
  // walk last waited for all of them.
  std::set<std::string> handedOver_;
};

int runXcopy(const std::vector<std::string>& args) {
  try {
    Options options = parseArguments(args);
    std::unique_ptr<Platform> platform = makeWorkstationPlatform();
    return TreeCopy(*platform, options).run();
  } catch (const BadCommandLine& bad) {
    std::fprintf(stderr, "%s\n0 File(s) copied\n", bad.message.c_str());
  } catch (const SourceFailure& failure) {
    std::fprintf(stderr, "%s\n0 File(s) copied\n", failure.message.c_str());
  } catch (const std::exception& error) {
    // The workstation itself could not be opened (a malformed prefix).
    std::fprintf(stderr, "xcopy: %s\n", error.what());
  }
  return kExitBadStart;
}

}  // namespace
}  // namespace zepo

int main(int argc, char** argv) {
  return zepo::runXcopy(std::vector<std::string>(argv + 1, argv + argc));
}
