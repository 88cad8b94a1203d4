// A share behind a slow link, to measure on: a read-only FUSE file system
// that shows the folder SOURCE at MOUNTPOINT as it is (names, contents,
// times, extended attributes such as the hidden and system bits) and makes
// every operation that reaches it wait DELAY milliseconds first, as a file
// server's round trip does.
//
//   slow_share [--delay-ms=DELAY] SOURCE MOUNTPOINT [FUSE options]
//
// It goes to the background once the share is mounted (-f keeps it in the
// foreground); `fusermount3 -u MOUNTPOINT` unmounts it. Operations run on
// several threads at once, as a server answers several requests at once.
// The kernel keeps what it learnt of names and attributes for a second, as
// a network client does; a listing gives the attributes of its entries
// with the names, in one operation, as a server's listing does.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

struct Settings {
  unsigned delayMs = 0;
  char* source = nullptr;  // as given
};

Settings settings;
std::string root;  // SOURCE, absolute

void wait() {
  if (settings.delayMs > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(settings.delayMs));
}

std::string real(const char* path) {
  return root + path;
}

int shareGetattr(const char* path, struct stat* st, fuse_file_info* fi) {
  wait();
  int result = fi ? fstat(static_cast<int>(fi->fh), st) : lstat(real(path).c_str(), st);
  return result == 0 ? 0 : -errno;
}

int shareReadlink(const char* path, char* buffer, std::size_t size) {
  wait();
  ssize_t n = readlink(real(path).c_str(), buffer, size - 1);
  if (n < 0) return -errno;
  buffer[n] = '\0';
  return 0;
}

int shareOpendir(const char* path, fuse_file_info* fi) {
  wait();
  DIR* dir = opendir(real(path).c_str());
  if (dir == nullptr) return -errno;
  fi->fh = reinterpret_cast<std::uint64_t>(dir);
  return 0;
}

int shareReaddir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* fi,
                 fuse_readdir_flags flags) {
  wait();
  DIR* dir = reinterpret_cast<DIR*>(fi->fh);
  rewinddir(dir);
  while (dirent* entry = readdir(dir)) {
    struct stat st {};
    fuse_fill_dir_flags fillFlags = static_cast<fuse_fill_dir_flags>(0);
    if ((flags & FUSE_READDIR_PLUS) &&
        fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
      fillFlags = FUSE_FILL_DIR_PLUS;
    } else {
      st.st_ino = entry->d_ino;
      st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    }
    if (fill(buffer, entry->d_name, &st, 0, fillFlags)) break;
  }
  return 0;
}

int shareReleasedir(const char*, fuse_file_info* fi) {
  wait();
  closedir(reinterpret_cast<DIR*>(fi->fh));
  return 0;
}

int shareOpen(const char* path, fuse_file_info* fi) {
  wait();
  if ((fi->flags & O_ACCMODE) != O_RDONLY) return -EROFS;
  int fd = open(real(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  fi->fh = static_cast<std::uint64_t>(fd);
  return 0;
}

int shareRead(const char*, char* buffer, std::size_t size, off_t offset, fuse_file_info* fi) {
  wait();
  ssize_t n = pread(static_cast<int>(fi->fh), buffer, size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int shareFlush(const char*, fuse_file_info*) {
  wait();  // a close is a round trip too
  return 0;
}

int shareRelease(const char*, fuse_file_info* fi) {
  wait();
  close(static_cast<int>(fi->fh));
  return 0;
}

int shareStatfs(const char* path, struct statvfs* st) {
  wait();
  return statvfs(real(path).c_str(), st) == 0 ? 0 : -errno;
}

int shareGetxattr(const char* path, const char* name, char* value, std::size_t size) {
  wait();
  ssize_t n = lgetxattr(real(path).c_str(), name, value, size);
  return n < 0 ? -errno : static_cast<int>(n);
}

int shareListxattr(const char* path, char* list, std::size_t size) {
  wait();
  ssize_t n = llistxattr(real(path).c_str(), list, size);
  return n < 0 ? -errno : static_cast<int>(n);
}

void* shareInit(fuse_conn_info*, fuse_config* config) {
  config->use_ino = 1;  // the source's inode numbers: a folder keeps its identity
  config->kernel_cache = 0;
  return nullptr;
}

enum { kKeyHelp };

const fuse_opt kOptions[] = {
    {"--delay-ms=%u", offsetof(Settings, delayMs), 0},
    FUSE_OPT_KEY("-h", kKeyHelp),
    FUSE_OPT_KEY("--help", kKeyHelp),
    FUSE_OPT_END,
};

int takeOption(void* data, const char* arg, int key, fuse_args*) {
  Settings& s = *static_cast<Settings*>(data);
  if (key == kKeyHelp) {
    std::fprintf(stderr, "usage: slow_share [--delay-ms=DELAY] SOURCE MOUNTPOINT [FUSE options]\n");
    std::exit(2);
  }
  if (key == FUSE_OPT_KEY_NONOPT && s.source == nullptr) {
    s.source = strdup(arg);
    return 0;  // the mount point and what follows go to FUSE
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  fuse_args args = FUSE_ARGS_INIT(argc, argv);
  if (fuse_opt_parse(&args, &settings, kOptions, takeOption) != 0) return 2;
  if (settings.source == nullptr) {
    std::fprintf(stderr, "usage: slow_share [--delay-ms=DELAY] SOURCE MOUNTPOINT [FUSE options]\n");
    return 2;
  }
  char resolved[PATH_MAX];
  if (realpath(settings.source, resolved) == nullptr) {
    std::fprintf(stderr, "slow_share: %s: %s\n", settings.source, std::strerror(errno));
    return 2;
  }
  root = resolved;
  if (root == "/") root.clear();
  // Enough threads that the answers to all the requests of a copy, such as
  // the closes that nobody waits for, wait at the same time.
  fuse_opt_add_arg(&args, "-oro,default_permissions,fsname=slow_share,max_threads=64");

  fuse_operations operations{};
  operations.getattr = shareGetattr;
  operations.readlink = shareReadlink;
  operations.open = shareOpen;
  operations.read = shareRead;
  operations.statfs = shareStatfs;
  operations.flush = shareFlush;
  operations.release = shareRelease;
  operations.getxattr = shareGetxattr;
  operations.listxattr = shareListxattr;
  operations.opendir = shareOpendir;
  operations.readdir = shareReaddir;
  operations.releasedir = shareReleasedir;
  operations.init = shareInit;
  int status = fuse_main(args.argc, args.argv, &operations, nullptr);
  fuse_opt_free_args(&args);
  return status;
}
