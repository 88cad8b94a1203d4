// RegistryStore on Linux: the file is read again whenever it has changed,
// and every change is made under an flock on "<file>.lock" held from that
// reading to the renaming of the new file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/file_replacement.h"
#include "platform/registry_store.h"

namespace zepo {
namespace {

RegistryStore::Result resultOf(RegistryTree::Change change) {
  return change == RegistryTree::Change::kNotFound ? RegistryStore::Result::kNotFound
                                                   : RegistryStore::Result::kDone;
}

// The stamp of a file whose status is `st`.
template <typename Stamp>
Stamp stampOf(const struct stat& st) {
  return Stamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
               static_cast<std::uint64_t>(st.st_size),
               st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
               st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
}

// Closes a descriptor, which also gives up its lock.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {
  refresh();
}

void RegistryStore::refresh() {
  const std::string path = file_.string();
  auto fail = [&](const std::string& why) { throw std::runtime_error(path + ": " + why); };
  Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    if (errno != ENOENT) fail(std::string("cannot be read: ") + std::strerror(errno));
    // A missing file is an empty registry.
    if (stamp_ != Stamp{}) {
      tree_ = RegistryTree();
      stamp_ = Stamp{};
    }
    return;
  }
  struct stat st;
  if (fstat(file.fd, &st) != 0) fail(std::string("cannot be read: ") + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) fail("is a folder, not the registry file");
  if (!S_ISREG(st.st_mode)) fail("is not a plain file");
  const Stamp now = stampOf<Stamp>(st);
  if (now == stamp_) return;

  std::string text;
  text.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = read(file.fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(std::string("cannot be read: ") + std::strerror(errno));
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  tree_ = RegistryTree::parse(text, path);
  stamp_ = now;
}

std::optional<std::string> RegistryStore::keyPath(std::string_view path) {
  try {
    refresh();
  } catch (const std::runtime_error&) {
    // Read as it was last: a file being edited by hand may read again.
  }
  return tree_.keyPath(path);
}

std::optional<std::string> RegistryStore::stringValue(std::string_view path,
                                                      std::string_view name) {
  try {
    refresh();
  } catch (const std::runtime_error&) {
  }
  return tree_.stringValue(path, name);
}

template <typename Edit>
RegistryStore::Result RegistryStore::change(Edit edit) {
  const std::string path = file_.string();
  Descriptor lock{open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)};
  if (lock.fd < 0) return Result::kNotSaved;
  while (flock(lock.fd, LOCK_EX) != 0) {
    if (errno != EINTR) return Result::kNotSaved;
  }
  // The change goes into what the file holds now; a file that cannot be
  // read is not written over.
  try {
    refresh();
  } catch (const std::runtime_error&) {
    return Result::kNotSaved;
  }
  RegistryTree next = tree_;
  RegistryTree::Change change = edit(next);
  if (change != RegistryTree::Change::kMade) return resultOf(change);

  struct stat st;
  // Read-only as a file is: no write permission for its owner (root too).
  if (stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) return Result::kReadOnly;
  if (!replaceFile(path, next.text())) return Result::kNotSaved;
  tree_ = std::move(next);
  // What was just written needs no reading; the lock keeps other stores out
  // until this stamp is taken.
  stamp_ = stat(path.c_str(), &st) == 0 ? stampOf<Stamp>(st) : Stamp{};
  return Result::kDone;
}

RegistryStore::Result RegistryStore::createKey(std::string_view path, bool* created) {
  if (created) *created = false;
  return change([&](RegistryTree& tree) {
    RegistryTree::Change change = tree.createKey(path);
    if (created) *created = change == RegistryTree::Change::kMade;
    return change;
  });
}

RegistryStore::Result RegistryStore::setString(std::string_view path, std::string_view name,
                                               std::string_view data) {
  return change([&](RegistryTree& tree) { return tree.setString(path, name, data); });
}

RegistryStore::Result RegistryStore::deleteValue(std::string_view path, std::string_view name) {
  return change([&](RegistryTree& tree) { return tree.deleteValue(path, name); });
}

}  // namespace zepo
