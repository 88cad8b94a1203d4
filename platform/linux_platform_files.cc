// Listing, file and folder operations, text and binary files of the Linux
// platform, with the forms runtime's error numbers.
#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include "platform/attribute_rules.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_replacement.h"
#include "platform/linux_dos_attributes.h"
#include "platform/linux_platform.h"
#include "platform/linux_prefix.h"
#include "platform/windows_names.h"

namespace zepo {

namespace {

// The runtime error number of a failed system call. `missing` is what a
// missing entry means where it happened: 53 for the file itself, 76 for a
// folder on the way.
[[noreturn]] void fail(int error, int missing = kErrFileNotFound) {
  switch (error) {
    case ENOENT:
      throw RuntimeError(missing);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      throw RuntimeError(kErrDiskFull);
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
      throw RuntimeError(kErrPermissionDenied);
    case EEXIST:
    case ENOTEMPTY:
      throw RuntimeError(kErrFileAlreadyExists);
    case ENAMETOOLONG:
    case EILSEQ:
    case EINVAL:
      throw RuntimeError(kErrBadFileNameOrNumber);
    case ELOOP:
      throw RuntimeError(kErrPathNotFound);
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ETIMEDOUT:
    case ESTALE:
      throw RuntimeError(kErrDeviceUnavailable);
    default:  // ENOTDIR, EISDIR, EIO and the rest
      throw RuntimeError(kErrPathFileAccess);
  }
}

// The hidden (2) and system (4) bits of an entry; a name that begins with
// a dot counts as hidden too.
int hiddenSystemBits(const std::string& host, const std::string& name) {
  return (!name.empty() && name[0] == '.' ? kAttrHidden : 0) | readDosAttributes(host);
}

// The same for an entry whose status `st` is at hand, through `cache`.
int hiddenSystemBits(DosAttributeCache& cache, const std::string& host, const std::string& name,
                     const struct stat& st) {
  return (!name.empty() && name[0] == '.' ? kAttrHidden : 0) | cache.bits(host, st);
}

// Read-only is the missing write permission of the owner; the layer tests
// it itself so that it holds for root too.
bool readOnly(const struct stat& st) {
  return (st.st_mode & S_IWUSR) == 0;
}

// The attribute bits of the existing file `host` (named `name`), whose
// status is `st`.
int fileAttributes(const struct stat& st, const std::string& host, const std::string& name) {
  return (readOnly(st) ? kAttrReadOnly : 0) | hiddenSystemBits(host, name);
}

void writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

// Copies the whole contents of `in` to `out`, in the kernel where it can.
void copyBytes(int in, int out, std::uint64_t size) {
  std::uint64_t done = 0;
  bool kernelCopy = true;
  while (kernelCopy && done < size) {
    ssize_t n = copy_file_range(in, nullptr, out, nullptr, size - done, 0);
    if (n > 0) {
      done += static_cast<std::uint64_t>(n);
    } else if (n == 0) {
      break;  // the source got shorter
    } else if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
      kernelCopy = false;
    } else if (errno != EINTR) {
      fail(errno);
    }
  }
  bool sendCopy = done < size && kernelCopy == false;
  while (sendCopy) {
    ssize_t n = sendfile(out, in, nullptr, size - done);
    if (n > 0) {
      done += static_cast<std::uint64_t>(n);
      sendCopy = done < size;
    } else if (n == 0) {
      return;
    } else if (errno == EINVAL || errno == ENOSYS) {
      sendCopy = false;
    } else if (errno != EINTR) {
      fail(errno);
    }
  }
  // Whatever remains (a file that grew, or no kernel copy at all).
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n == 0) return;
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    writeAll(out, std::string(buffer, static_cast<std::size_t>(n)));
  }
}

// Gives the destination the source's attributes, as Windows copies them:
// permissions (read-only), user.DOSATTRIB, modification time.
void copyAttributes(int in, int out, const struct stat& st) {
  fchmod(out, st.st_mode & 07777);
  if (std::optional<std::string> value = readDosAttributeValue(in)) {
    fsetxattr(out, "user.DOSATTRIB", value->data(), value->size(), 0);
  } else {
    fremovexattr(out, "user.DOSATTRIB");
  }
  struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
  futimens(out, times);
}

// A file open on the Linux workstation.
class LinuxFile : public SystemFile {
 public:
  explicit LinuxFile(int fd) : fd_(fd) {}
  LinuxFile(const LinuxFile&) = delete;
  LinuxFile& operator=(const LinuxFile&) = delete;
  ~LinuxFile() override { close(fd_); }

  std::size_t read(char* buffer, std::size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) fail(errno);
    }
  }
  void write(const std::string& bytes) override { writeAll(fd_, bytes); }
  std::optional<std::uint8_t> readAt(std::uint64_t position) override {
    unsigned char byte = 0;
    ssize_t n;
    do {
      n = pread(fd_, &byte, 1, static_cast<off_t>(position));
    } while (n < 0 && errno == EINTR);
    if (n < 0) fail(errno);
    if (n == 0) return std::nullopt;
    return byte;
  }
  void writeAt(std::uint64_t position, std::uint8_t byte) override {
    ssize_t n;
    do {
      n = pwrite(fd_, &byte, 1, static_cast<off_t>(position));
    } while (n < 0 && errno == EINTR);
    if (n != 1) fail(n < 0 ? errno : ENOSPC);
  }
  std::int64_t length() override { return status().st_size; }
  FileIdentity identity() override {
    struct stat st = status();
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  }

 private:
  struct stat status() {
    struct stat st;
    if (fstat(fd_, &st) != 0) fail(errno);
    return st;
  }

  int fd_;
};

}  // namespace

// ---- listing ------------------------------------------------------------

FormsRuntime::FolderEntries LinuxPlatform::folderEntries(const std::string& pathName,
                                                         bool folders) {
  FolderEntries listed;
  std::optional<PathResolver::ListTarget> target = prefix_->paths().resolveForListing(pathName);
  if (!target) return listed;
  listed.pattern = target->pattern;
  // The entry `name`, whose status is `st`, when the listing may give it.
  auto addWithStatus = [&](const std::string& host, std::string name, const struct stat& st) {
    if (!(S_ISREG(st.st_mode) || (folders && S_ISDIR(st.st_mode)))) return;
    int hidden = hiddenSystemBits(prefix_->dosAttributes(), host, name, st);
    listed.entries.push_back(
        {std::move(name), (S_ISDIR(st.st_mode) ? kAttrDirectory : 0) | hidden});
  };
  if (hasWildcard(target->pattern)) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(target->folder.c_str()), closedir);
    // The usual patterns match every name: no need to match each.
    const bool everyName = target->pattern == "*" || target->pattern == "*.*";
    std::string host = target->folder + "/";
    const std::size_t folderLength = host.size();
    // Entries that the listing never gives are left out here, before their
    // attributes are read.
    while (dir) {
      dirent* entry = readdir(dir.get());
      if (entry == nullptr) break;
      if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
      std::string name = entry->d_name;
      if (!isSpellableName(name)) continue;
      if (!everyName && !matchesPattern(target->pattern, name)) continue;
      host.resize(folderLength);
      host += name;
      switch (entry->d_type) {
        // The entry's type is known without asking for its status.
        case DT_REG:
          listed.entries.push_back(
              {std::move(name), readDosAttributesAt(dirfd(dir.get()), entry->d_name, host)});
          break;
        case DT_DIR:
          if (folders) {
            listed.entries.push_back(
                {std::move(name),
                 kAttrDirectory | readDosAttributesAt(dirfd(dir.get()), entry->d_name, host)});
          }
          break;
        case DT_LNK:
        case DT_UNKNOWN: {
          struct stat st;
          if (stat(host.c_str(), &st) == 0) addWithStatus(host, std::move(name), st);
          break;
        }
        default:  // devices, pipes and sockets
          break;
      }
    }
  } else if (!target->name.empty()) {
    std::string host = target->folder + "/" + target->name;
    struct stat st;
    if (target->status) {
      st = *target->status;
    } else if (stat(host.c_str(), &st) != 0) {
      st.st_mode = 0;
    }
    addWithStatus(host, target->name, st);
  }
  return listed;
}

// ---- files and folders -----------------------------------------------------

std::optional<int> LinuxPlatform::entryAttributes(const std::string& path) {
  PathResolver::Resolved entry = prefix_->paths().resolve(path);
  if (!entry.exists) return std::nullopt;
  struct stat st;
  if (stat(entry.host.c_str(), &st) != 0) fail(errno);
  if (S_ISDIR(st.st_mode)) {
    return kAttrDirectory | (entry.root ? 0 : hiddenSystemBits(entry.host, entry.name));
  }
  return fileAttributes(st, entry.host, entry.name);
}

bool LinuxPlatform::isRoot(const std::string& path) {
  return prefix_->paths().resolve(path).root;
}

FileIdentity LinuxPlatform::fileIdentity(const std::string& path) {
  PathResolver::Resolved entry = prefix_->paths().resolve(path);
  if (!entry.exists) throw RuntimeError(kErrFileNotFound);
  struct stat st;
  if (stat(entry.host.c_str(), &st) != 0) fail(errno);
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

FileIdentity LinuxPlatform::entryIdentity(const std::string& path) {
  // A link is renamed itself: its own identity, not its target's.
  PathResolver::Resolved entry = prefix_->paths().resolve(path);
  struct stat st;
  if (!entry.exists || lstat(entry.host.c_str(), &st) != 0) throw RuntimeError(kErrFileNotFound);
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

void LinuxPlatform::createFolder(const std::string& path) {
  PathResolver::Resolved folder = prefix_->paths().resolve(path);
  if (mkdir(folder.host.c_str(), 0777) != 0) {
    fail(errno == EEXIST ? EISDIR : errno, kErrPathNotFound);
  }
  prefix_->paths().noteAdded(folder.folder, folder.name);
}

void LinuxPlatform::copyContents(const std::string& source, const std::string& destination) {
  PathResolver& paths = prefix_->paths();
  PathResolver::Resolved from = paths.resolve(source);
  PathResolver::Resolved to = paths.resolve(destination);
  int in = open(from.host.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(errno);
  std::unique_ptr<int, void (*)(int*)> inGuard(&in, [](int* fd) { close(*fd); });
  struct stat st;
  if (fstat(in, &st) != 0) fail(errno);
  if (!S_ISREG(st.st_mode)) throw RuntimeError(kErrPathFileAccess);
  // The copy is written beside the destination and renamed over it: a
  // failure half-way (a full disk) leaves the old file whole, and no new
  // half-written file.
  FileReplacement out;
  if (!out.begin(to.host, FileReplacement::Attributes::kNone)) fail(errno, kErrPathNotFound);
  copyBytes(in, static_cast<int>(out.handle()), static_cast<std::uint64_t>(st.st_size));
  // A device written as it is keeps its own attributes.
  if (!out.newFile().empty()) copyAttributes(in, static_cast<int>(out.handle()), st);
  if (!out.commit()) fail(errno);
  if (!to.exists) paths.noteAdded(to.folder, to.name);
}

void LinuxPlatform::removeFile(const std::string& path) {
  PathResolver::Resolved file = prefix_->paths().resolve(path);
  if (unlink(file.host.c_str()) != 0) fail(errno);
  prefix_->paths().noteRemoved(file.folder, file.name);
}

void LinuxPlatform::moveFile(const std::string& oldPath, const std::string& newPath, bool) {
  PathResolver& paths = prefix_->paths();
  PathResolver::Resolved from = paths.resolve(oldPath);
  PathResolver::Resolved to = paths.resolve(newPath);
  std::string newHost = to.folder + "/" + to.given;
  if (rename(from.host.c_str(), newHost.c_str()) != 0) {
    struct stat st;
    if (errno != EXDEV || lstat(from.host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      fail(errno);
    }
    // Another drive: the file is copied and the old one removed, as
    // Windows moves a file between volumes.
    copyFile(oldPath, newPath);
    if (unlink(from.host.c_str()) != 0) fail(errno);
  }
  paths.noteRemoved(from.folder, from.name);
  paths.noteAdded(to.folder, to.given);
}

// ---- text and binary files ----------------------------------------------

std::unique_ptr<SystemFile> LinuxPlatform::openFile(const std::string& path, FileAccess access) {
  PathResolver::Resolved file = prefix_->paths().resolve(path);
  int flags = O_RDONLY;
  switch (access) {
    case FileAccess::kRead:
      break;
    case FileAccess::kReplace:
      flags = O_WRONLY | O_CREAT | O_TRUNC;
      break;
    case FileAccess::kUpdate:
      flags = O_RDWR;
      break;
    case FileAccess::kCreate:
      flags = O_RDWR | O_CREAT;
      break;
  }
  int fd = open(file.host.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (access == FileAccess::kUpdate && errno == EACCES) return nullptr;
    fail(errno, access == FileAccess::kRead ? kErrFileNotFound : kErrPathNotFound);
  }
  auto opened = std::make_unique<LinuxFile>(fd);
  if (!file.exists) prefix_->paths().noteAdded(file.folder, file.name);
  return opened;
}

}  // namespace zepo
