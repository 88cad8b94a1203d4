// FileReplacement on Linux: the new file is made with open(O_EXCL), flushed
// with fdatasync and put in place with rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/file_replacement.h"

namespace zepo {
namespace {

// The file that `path` names: a symbolic link is replaced by its target, so
// that the link stays.
std::string fileNamedBy(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;  // a link to nothing: the link is replaced
  std::string target = real;
  std::free(real);
  return target;
}

// Gives the new file the old one's extended attributes (user.DOSATTRIB for
// the hidden and system bits, access lists...); what the file system refuses
// is left out.
void copyExtendedAttributes(const std::string& from, int to) {
  ssize_t size = listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  size = listxattr(from.c_str(), names.data(), names.size());
  if (size <= 0) return;
  std::vector<char> value;
  for (const char* name = names.data(); name < names.data() + size; name += strlen(name) + 1) {
    ssize_t length = getxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    value.resize(static_cast<std::size_t>(length));
    length = getxattr(from.c_str(), name, value.data(), value.size());
    if (length >= 0) fsetxattr(to, name, value.data(), static_cast<std::size_t>(length), 0);
  }
}

}  // namespace

FileReplacement::~FileReplacement() {
  abandon();
}

void FileReplacement::abandon() {
  int saved = errno;
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temp_.empty()) unlink(temp_.c_str());
  temp_.clear();
  errno = saved;
}

bool FileReplacement::begin(const std::string& path, Attributes attributes) {
  abandon();
  target_ = fileNamedBy(path);
  struct stat old;
  const bool exists = stat(target_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (exists && !S_ISREG(old.st_mode)) {
    // A device or a pipe has no contents to keep: it is written as it is.
    handle_ = open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    return handle_ >= 0;
  }
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp_ = newFileName(target_);
    fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    temp_.clear();
    return false;
  }
  handle_ = fd;
  if (attributes == Attributes::kOfOldFile && exists) {
    // The owner first: a change of owner clears the set-id bits.
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
      (void)!fchown(fd, old.st_uid, old.st_gid);
    }
    fchmod(fd, old.st_mode & 07777);
    copyExtendedAttributes(target_, fd);
  }
  return true;
}

bool FileReplacement::write(std::string_view bytes) {
  if (handle_ < 0) {
    errno = EBADF;
    return false;
  }
  while (!bytes.empty()) {
    ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool FileReplacement::close() {
  if (handle_ < 0) return true;
  int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (::close(fd) != 0 && errno != EINTR) {
    abandon();
    return false;
  }
  return true;
}

bool FileReplacement::commit() {
  if (temp_.empty() && handle_ < 0) {
    errno = EBADF;
    return false;
  }
  if (temp_.empty()) return close();  // a device, written as it is
  // The contents reach the disk before the name does: after a crash the
  // name never leads to an empty file.
  int fd = handle_ >= 0 ? static_cast<int>(handle_) : open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
  handle_ = fd;
  if (fd < 0 || fdatasync(fd) != 0 || !close()) {
    abandon();
    return false;
  }
  if (rename(temp_.c_str(), target_.c_str()) != 0) {
    abandon();
    return false;
  }
  temp_.clear();
  return true;
}

}  // namespace zepo
