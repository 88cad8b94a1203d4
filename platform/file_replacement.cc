#include "platform/file_replacement.h"

#include <atomic>
#include <cstdio>
#include <random>

namespace zepo {

std::string FileReplacement::newFileName(const std::string& target) {
  // A number of this process, and a count of its own new files.
  static const unsigned process = std::random_device{}();
  static std::atomic<unsigned> counter{0};
  std::size_t slash = target.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
#ifdef _WIN32
  // Not a dot: Wine would show the file, and so its copy, as hidden.
  constexpr const char* kLead = "~";
#else
  constexpr const char* kLead = ".";  // no Linux listing gives it
#endif
  // Short enough for any file system's name limit, whatever the old name.
  std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);
  char tail[32];
  std::snprintf(tail, sizeof tail, ".%08x%x.new", process, counter.fetch_add(1));
  return folder + kLead + name + tail;
}

bool replaceFile(const std::string& path, std::string_view bytes) {
  FileReplacement file;
  return file.begin(path) && file.write(bytes) && file.commit();
}

}  // namespace zepo
