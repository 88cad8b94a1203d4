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
#include "platform/linux_files.h"
#include "platform/linux_platform.h"
#include "platform/linux_prefix.h"
#include "platform/windows_names.h"

namespace zepo {

namespace {

constexpr int kMaxFileNumber = 511;

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

constexpr std::size_t kOutputBlock = 64 * 1024;

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
void copyContents(int in, int out, std::uint64_t size) {
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

// The open file under a number; 52 when none is open under it.
template <typename Files>
auto& openedFile(Files& files, int fileNumber) {
  auto it = files.find(fileNumber);
  if (it == files.end()) throw RuntimeError(kErrBadFileNameOrNumber);
  return *it->second;
}

}  // namespace

LinuxPlatform::OpenFile::~OpenFile() {
  if (fd < 0) return;
  // A file left open when the platform goes still gets its last lines.
  if (mode == Mode::kOutput && !contents.empty()) {
    (void)!write(fd, contents.data(), contents.size());
  }
  close(fd);
}

// ---- listing ------------------------------------------------------------

std::string LinuxPlatform::listFirst(const std::string& pathName, int attributes) {
  listing_ = std::make_unique<Listing>();
  std::optional<PathResolver::ListTarget> target = prefix_->paths().resolveForListing(pathName);
  if (!target) {
    listing_->ended = true;
    return "";
  }
  const bool folders = (attributes & kAttrDirectory) != 0;
  // Whether the entry `name`, whose status is `st`, is given.
  auto wantedWithStatus = [&](const std::string& host, const std::string& name,
                              const struct stat& st) {
    if (!(S_ISREG(st.st_mode) || (folders && S_ISDIR(st.st_mode)))) return false;
    return hiddenSystemBits(prefix_->dosAttributes(), host, name, st) == 0;
  };
  std::vector<std::pair<std::string, std::string>> found;  // upper-case form, name
  if (hasWildcard(target->pattern)) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(target->folder.c_str()), closedir);
    // The usual patterns match every name: no need to match each.
    const bool everyName = target->pattern == "*" || target->pattern == "*.*";
    std::string host = target->folder + "/";
    const std::size_t folderLength = host.size();
    while (dir) {
      dirent* entry = readdir(dir.get());
      if (entry == nullptr) break;
      if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
      std::string name = entry->d_name;
      if (!isSpellableName(name)) continue;
      if (!everyName && !matchesPattern(target->pattern, name)) continue;
      host.resize(folderLength);
      host += name;
      bool wanted;
      switch (entry->d_type) {
        // The entry's type is known without asking for its status.
        case DT_REG:
          wanted = readDosAttributesAt(dirfd(dir.get()), entry->d_name, host) == 0;
          break;
        case DT_DIR:
          wanted = folders && readDosAttributesAt(dirfd(dir.get()), entry->d_name, host) == 0;
          break;
        case DT_LNK:
        case DT_UNKNOWN: {
          struct stat st;
          wanted = stat(host.c_str(), &st) == 0 && wantedWithStatus(host, name, st);
          break;
        }
        default:  // devices, pipes and sockets
          wanted = false;
          break;
      }
      if (wanted) found.emplace_back(upperName(name), std::move(name));
    }
    std::sort(found.begin(), found.end());
  } else if (!target->name.empty() && target->name[0] != '.' && isSpellableName(target->name)) {
    std::string host = target->folder + "/" + target->name;
    struct stat st;
    if (target->status) {
      st = *target->status;
    } else if (stat(host.c_str(), &st) != 0) {
      st.st_mode = 0;
    }
    if (wantedWithStatus(host, target->name, st)) found.emplace_back("", target->name);
  }
  for (auto& [upper, name] : found) listing_->names.push_back(std::move(name));
  return listNext();
}

std::string LinuxPlatform::listNext() {
  // As the runtime does, asking again after the end, or before any
  // listing, is an invalid call.
  if (!listing_ || listing_->ended) throw RuntimeError(kErrBadCall);
  if (listing_->next >= listing_->names.size()) {
    listing_->ended = true;
    return "";
  }
  return listing_->names[listing_->next++];
}

int LinuxPlatform::getAttributes(const std::string& path) {
  PathResolver::Resolved entry = prefix_->paths().resolve(path);
  if (!entry.exists) throw RuntimeError(kErrFileNotFound);
  struct stat st;
  if (stat(entry.host.c_str(), &st) != 0) fail(errno);
  if (S_ISDIR(st.st_mode)) {
    return kAttrDirectory | (entry.root ? 0 : hiddenSystemBits(entry.host, entry.name));
  }
  return fileAttributes(st, entry.host, entry.name);
}

FileIdentity LinuxPlatform::fileIdentity(const std::string& path) {
  PathResolver::Resolved entry = prefix_->paths().resolve(path);
  if (!entry.exists) throw RuntimeError(kErrFileNotFound);
  struct stat st;
  if (stat(entry.host.c_str(), &st) != 0) fail(errno);
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// ---- files and folders -----------------------------------------------------

void LinuxPlatform::makeFolder(const std::string& path) {
  PathResolver::Resolved folder = prefix_->paths().resolve(path);
  if (folder.exists) throw RuntimeError(kErrPathFileAccess);
  if (mkdir(folder.host.c_str(), 0777) != 0) {
    fail(errno == EEXIST ? EISDIR : errno, kErrPathNotFound);
  }
  prefix_->paths().noteAdded(folder.folder, folder.name);
}

void LinuxPlatform::copyFile(const std::string& source, const std::string& destination) {
  PathResolver& paths = prefix_->paths();
  PathResolver::Resolved from = paths.resolve(source);
  if (!from.exists) throw RuntimeError(kErrFileNotFound);
  PathResolver::Resolved to = paths.resolve(destination);
  if (to.root) throw RuntimeError(kErrPathFileAccess);

  int in = open(from.host.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(errno);
  std::unique_ptr<int, void (*)(int*)> inGuard(&in, [](int* fd) { close(*fd); });
  struct stat st;
  if (fstat(in, &st) != 0) fail(errno);
  if (!S_ISREG(st.st_mode)) throw RuntimeError(kErrPathFileAccess);
  if (to.exists) {
    struct stat old;
    if (stat(to.host.c_str(), &old) == 0) {
      if (S_ISDIR(old.st_mode)) throw RuntimeError(kErrPathFileAccess);
      // Copying a file onto itself is a sharing violation on Windows.
      if (old.st_dev == st.st_dev && old.st_ino == st.st_ino) {
        throw RuntimeError(kErrPermissionDenied);
      }
      checkReplaceable(fileAttributes(old, to.host, to.name));
    }
  }
  // The copy is written beside the destination and renamed over it: a
  // failure half-way (a full disk) leaves the old file whole, and no new
  // half-written file.
  FileReplacement out;
  if (!out.begin(to.host, FileReplacement::Attributes::kNone)) fail(errno, kErrPathNotFound);
  copyContents(in, static_cast<int>(out.handle()), static_cast<std::uint64_t>(st.st_size));
  // A device written as it is keeps its own attributes.
  if (!out.newFile().empty()) copyAttributes(in, static_cast<int>(out.handle()), st);
  if (!out.commit()) fail(errno);
  if (!to.exists) paths.noteAdded(to.folder, to.name);
}

void LinuxPlatform::deleteFile(const std::string& path) {
  PathResolver::Resolved file = prefix_->paths().resolve(path);
  if (!file.exists || file.root) throw RuntimeError(kErrFileNotFound);
  struct stat st;
  if (stat(file.host.c_str(), &st) != 0) fail(errno);
  // The runtime's delete looks for the file the way the listing does: it
  // never finds a folder, a hidden or a system file.
  if (S_ISDIR(st.st_mode) || hiddenSystemBits(file.host, file.name) != 0) {
    throw RuntimeError(kErrFileNotFound);
  }
  if (readOnly(st)) throw RuntimeError(kErrPathFileAccess);
  if (unlink(file.host.c_str()) != 0) fail(errno);
  prefix_->paths().noteRemoved(file.folder, file.name);
}

void LinuxPlatform::renameFile(const std::string& oldPath, const std::string& newPath) {
  PathResolver& paths = prefix_->paths();
  PathResolver::Resolved from = paths.resolve(oldPath);
  if (!from.exists || from.root) throw RuntimeError(kErrFileNotFound);
  PathResolver::Resolved to = paths.resolve(newPath);
  if (to.root) throw RuntimeError(kErrPathFileAccess);
  struct stat st;
  if (lstat(from.host.c_str(), &st) != 0) fail(errno);
  if (to.exists) {
    // Only a new spelling of the same name is no clash.
    struct stat other;
    if (lstat(to.host.c_str(), &other) != 0 || other.st_dev != st.st_dev ||
        other.st_ino != st.st_ino) {
      throw RuntimeError(kErrFileAlreadyExists);
    }
  }
  std::string newHost = to.folder + "/" + to.given;
  if (rename(from.host.c_str(), newHost.c_str()) != 0) {
    if (errno != EXDEV || !S_ISREG(st.st_mode)) fail(errno);
    // Another drive: the file is copied and the old one removed, as
    // Windows moves a file between volumes.
    copyFile(oldPath, newPath);
    if (unlink(from.host.c_str()) != 0) fail(errno);
  }
  paths.noteRemoved(from.folder, from.name);
  paths.noteAdded(to.folder, to.given);
}

// ---- text and binary files ----------------------------------------------

void LinuxPlatform::openText(int fileNumber, const std::string& path, TextMode mode) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  PathResolver::Resolved file = prefix_->paths().resolve(path);
  auto record = std::make_unique<OpenFile>();
  struct stat st;
  bool exists = file.exists && stat(file.host.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) throw RuntimeError(kErrPathFileAccess);
  if (exists) {
    // The runtime lets a file be open for input under several numbers at
    // once, but a file being written under no other number.
    for (const auto& [number, other] : files_) {
      if (other->device == st.st_dev && other->inode == st.st_ino &&
          (mode != TextMode::kInput || other->mode != OpenFile::Mode::kInput)) {
        throw RuntimeError(kErrFileAlreadyOpen);
      }
    }
  }
  if (mode == TextMode::kInput) {
    if (!exists) throw RuntimeError(kErrFileNotFound);
    int fd = open(file.host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(errno);
    record->fd = fd;  // closed by the record
    record->lines = std::make_unique<LineReader>([fd](char* buffer, std::size_t size) {
      for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) fail(errno);
      }
    });
    record->mode = OpenFile::Mode::kInput;
  } else {
    if (exists) checkReplaceable(fileAttributes(st, file.host, file.name));
    int fd = open(file.host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fail(errno, kErrPathNotFound);
    record->fd = fd;
    record->mode = OpenFile::Mode::kOutput;
    if (!exists) prefix_->paths().noteAdded(file.folder, file.name);
    if (fstat(fd, &st) != 0) fail(errno);
  }
  record->device = st.st_dev;
  record->inode = st.st_ino;
  files_[fileNumber] = std::move(record);
}

std::string LinuxPlatform::readLine(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kInput) throw RuntimeError(kErrBadFileMode);
  return file.lines->readLine();
}

bool LinuxPlatform::endOfFile(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  switch (file.mode) {
    case OpenFile::Mode::kInput:
      return file.lines->atEnd();
    case OpenFile::Mode::kBinary:
      return static_cast<std::int64_t>(file.position) >= fileLength(fileNumber);
    case OpenFile::Mode::kOutput:
      break;
  }
  throw RuntimeError(kErrBadFileMode);
}

void LinuxPlatform::writeLine(int fileNumber, const std::string& text) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kOutput) throw RuntimeError(kErrBadFileMode);
  // Lines are gathered and written in blocks; closing writes the rest.
  if (isAscii(text)) {
    file.contents += text;
  } else {
    file.contents += toCodePage(text);
  }
  file.contents += "\r\n";
  if (file.contents.size() >= kOutputBlock) {
    std::string block;
    block.swap(file.contents);
    writeAll(file.fd, block);
  }
}

void LinuxPlatform::closeFile(int fileNumber) {
  auto it = files_.find(fileNumber);
  if (it == files_.end()) return;
  std::unique_ptr<OpenFile> file = std::move(it->second);
  files_.erase(it);
  if (file->mode == OpenFile::Mode::kOutput && !file->contents.empty()) {
    std::string rest;
    rest.swap(file->contents);
    writeAll(file->fd, rest);  // a failure here (a full disk) is the close's
  }
}

void LinuxPlatform::openBinary(int fileNumber, const std::string& path) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  PathResolver::Resolved file = prefix_->paths().resolve(path);
  struct stat st;
  bool exists = file.exists && stat(file.host.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) throw RuntimeError(kErrPathFileAccess);
  if (exists) {
    for (const auto& [number, other] : files_) {
      if (other->device == st.st_dev && other->inode == st.st_ino) {
        throw RuntimeError(kErrFileAlreadyOpen);
      }
    }
  }
  auto record = std::make_unique<OpenFile>();
  record->mode = OpenFile::Mode::kBinary;
  // As the runtime does, a file that cannot be written is opened for
  // reading only; a missing one is made.
  record->writable = !exists || !readOnly(st);
  int fd =
      open(file.host.c_str(), (record->writable ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC, 0666);
  if (fd < 0 && record->writable && exists && errno == EACCES) {
    record->writable = false;
    fd = open(file.host.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd < 0) fail(errno, kErrPathNotFound);
  record->fd = fd;
  if (!exists) prefix_->paths().noteAdded(file.folder, file.name);
  if (fstat(fd, &st) != 0) fail(errno);
  record->device = st.st_dev;
  record->inode = st.st_ino;
  files_[fileNumber] = std::move(record);
}

std::int64_t LinuxPlatform::fileLength(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  struct stat st;
  if (fstat(file.fd, &st) != 0) fail(errno);
  return st.st_size;
}

std::uint8_t LinuxPlatform::readByte(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  unsigned char byte = 0;
  // Reading past the end gives a zero byte, as the runtime's Get does.
  ssize_t n;
  do {
    n = pread(file.fd, &byte, 1, static_cast<off_t>(file.position));
  } while (n < 0 && errno == EINTR);
  if (n < 0) fail(errno);
  ++file.position;
  return n == 1 ? byte : 0;
}

void LinuxPlatform::writeByte(int fileNumber, std::uint8_t byte) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  if (!file.writable) throw RuntimeError(kErrPathFileAccess);
  ssize_t n;
  do {
    n = pwrite(file.fd, &byte, 1, static_cast<off_t>(file.position));
  } while (n < 0 && errno == EINTR);
  if (n != 1) fail(n < 0 ? errno : ENOSPC);
  ++file.position;
}

}  // namespace zepo
