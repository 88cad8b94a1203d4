// Resolving names in a large folder: builds a folder of 20,000 files in a
// temporary workstation, then looks up 20,000 names spelt in another case
// through the platform (hostPath and listFirst), and prints the time per
// lookup. The folder's names are read once and kept, so a lookup must not
// cost anything like a scan of the folder.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/linux_platform.h"
#include "platform/windows_names.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 20000;

std::string mixedCase(const std::string& name, std::mt19937& random) {
  std::string out = name;
  for (char& c : out) {
    if (std::isalpha(static_cast<unsigned char>(c)) && (random() & 1)) {
      c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                        : std::toupper(c));
    }
  }
  return out;
}

double microsecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  std::random_device seed;
  fs::path dir = fs::temp_directory_path() / ("zepo-bench-" + std::to_string(seed()));
  fs::create_directories(dir);
  int status = 0;
  {
    zepo::LinuxPlatform platform(dir.string());
    fs::path folder = dir / "drive_c" / "Big";
    fs::create_directories(folder);
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i) {
      names.push_back("File_" + std::to_string(i) + "_Name.Txt");
      std::ofstream(folder / names.back());
    }
    std::mt19937 random(42);
    std::vector<std::string> queries;
    for (const std::string& name : names) {
      std::string query;
      do {
        query = mixedCase(name, random);
      } while (query == name);
      queries.push_back("C:\\big\\" + query);
    }
    std::shuffle(queries.begin(), queries.end(), random);

    auto start = std::chrono::steady_clock::now();
    std::string first = platform.hostPath(queries[0]);
    double firstLookup = microsecondsSince(start);

    start = std::chrono::steady_clock::now();
    int found = 0;
    for (const std::string& query : queries) {
      std::string host = platform.hostPath(query);
      std::string name = host.substr(host.rfind('/') + 1);
      if (zepo::upperName(name) == zepo::upperName(query.substr(query.rfind('\\') + 1)) &&
          fs::path(host).parent_path() == dir / "dosdevices" / "c:" / "Big" &&
          name.compare(0, 5, "File_") == 0) {
        ++found;
      }
    }
    double hostPathEach = microsecondsSince(start) / kFiles;

    start = std::chrono::steady_clock::now();
    int listed = 0;
    for (const std::string& query : queries) {
      if (!platform.listFirst(query, 0).empty()) ++listed;
    }
    double listEach = microsecondsSince(start) / kFiles;

    std::printf("folder of %d files, %d lookups of names in another case\n", kFiles, kFiles);
    std::printf("first lookup (reads the folder):  %10.1f us\n", firstLookup);
    std::printf("hostPath per lookup:              %10.2f us  (%d of %d resolved to the file)\n",
                hostPathEach, found, kFiles);
    std::printf("listFirst per lookup:             %10.2f us  (%d of %d found)\n", listEach, listed,
                kFiles);
    if (found != kFiles || listed != kFiles) status = 1;
  }
  fs::remove_all(dir);
  return status;
}
