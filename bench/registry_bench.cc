// Times the registry of a workstation whose hand-edited registry.reg holds
// one key many levels deep: opening the workstation (which reads the file),
// then one value written as the installer writes one (a key created below
// HKEY_CURRENT_USER, a string value set). Prints the depth, the two times
// and the file's size before and after the change.
//
//   build/bin/registry_bench [levels...]     (default: 1000 10000)
//
// Runs on temporary prefixes that it removes again.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/linux_platform.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Returns false when the change failed.
bool run(long levels) {
  std::random_device random;
  fs::path prefix = fs::temp_directory_path() / ("registry_bench_" + std::to_string(random()));
  fs::create_directories(prefix);
  // An existing workstation: a platform.ini and the registry.
  std::ofstream(prefix / "platform.ini", std::ios::binary) << "[System]\r\nPlatform=2\r\n";
  {
    std::string key = "HKEY_LOCAL_MACHINE\\Software";
    for (long i = 0; i < levels; ++i) key += "\\Level" + std::to_string(i);
    std::ofstream(prefix / "registry.reg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[" << key << "]\r\n\"Depth\"=\"" << levels << "\"\r\n\r\n";
  }
  const auto sizeBefore = fs::file_size(prefix / "registry.reg");

  bool ok = false;
  Clock::time_point start = Clock::now();
  {
    zepo::LinuxPlatform platform(prefix.string());
    // The first registry call: a workstation may read its registry then.
    zepo::RegKey key = 0;
    bool opened = platform.RegOpenKeyExA(zepo::kHkeyLocalMachine, "Software", zepo::kKeyQueryValue,
                                         key) == zepo::kErrorSuccess;
    platform.RegCloseKey(key);
    Clock::time_point loaded = Clock::now();

    std::uint32_t disposition = 0;
    const std::string data = std::string("\\\\SRV\\criteria") + '\0';
    ok = opened &&
         platform.RegCreateKeyExA(zepo::kHkeyCurrentUser, "Software\\Prologue Software", 0,
                                  zepo::kKeySetValue, key, disposition) == zepo::kErrorSuccess &&
         platform.RegSetValueExA(key, "X:\\", zepo::kRegSz, data,
                                 static_cast<std::uint32_t>(data.size())) == zepo::kErrorSuccess;
    platform.RegCloseKey(key);
    Clock::time_point saved = Clock::now();
    std::printf("%8ld levels: read %9.4f s, two changes saved %9.4f s, file %9ju -> %9ju bytes%s\n",
                levels, seconds(loaded - start), seconds(saved - loaded),
                static_cast<std::uintmax_t>(sizeBefore),
                static_cast<std::uintmax_t>(fs::file_size(prefix / "registry.reg")),
                ok ? "" : "  (FAILED)");
  }
  fs::remove_all(prefix);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> depths;
  for (int i = 1; i < argc; ++i) depths.push_back(std::atol(argv[i]));
  if (depths.empty()) depths = {1000, 10000};
  bool ok = true;
  for (long levels : depths) ok = run(levels) && ok;
  return ok ? 0 : 1;
}
