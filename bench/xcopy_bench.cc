// Times the project's xcopy against `cp -r` on the same tree: 20,000 small
// files in 200 folders and four files of 64 MiB on a share of a temporary
// workstation, each copied into a fresh folder on the same disk. Prints the
// wall times and their ratio; the target is at most 1.2.
//
//   xcopy_bench [ROUNDS] [WORK_FOLDER] [XCOPY]
//
// ROUNDS (default 3) alternate the two copies; the medians are compared.
// WORK_FOLDER (default: the system's temporary folder) is where the
// workstation is made; it is removed at the end. XCOPY (default: the xcopy
// beside this program) is the program timed.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/linux_platform.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopFolders = 20;
constexpr int kSubfoldersEach = 9;  // 20 + 20 * 9 = 200 folders
constexpr int kFilesPerFolder = 100;
constexpr int kBigFiles = 4;
constexpr std::size_t kBigFileSize = 64u << 20;

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void writeFile(const fs::path& path, std::size_t size, std::mt19937_64& random) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; i += 8) {
    std::uint64_t r = random();
    for (std::size_t k = 0; k < 8 && i + k < size; ++k)
      bytes[i + k] = static_cast<char>(r >> (8 * k));
  }
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
}

// Fills `share`; returns the number of bytes written.
std::uint64_t makeTree(const fs::path& share) {
  std::mt19937_64 random(20240601);
  std::uint64_t total = 0;
  auto fill = [&](const fs::path& folder) {
    fs::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::size_t size = 512 + random() % 7680;  // 0.5 to 8 KiB
      writeFile(folder / ("file" + std::to_string(f) + ".dat"), size, random);
      total += size;
    }
  };
  for (int t = 0; t < kTopFolders; ++t) {
    fs::path top = share / ("cartella" + std::to_string(t));
    fill(top);
    for (int s = 0; s < kSubfoldersEach; ++s) fill(top / ("sotto" + std::to_string(s)));
  }
  for (int b = 0; b < kBigFiles; ++b) {
    writeFile(share / ("grande" + std::to_string(b) + ".bin"), kBigFileSize, random);
    total += kBigFileSize;
  }
  return total;
}

std::size_t countFiles(const fs::path& folder) {
  std::size_t n = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) ++n;
  return n;
}

// Wall time of a shell command, after flushing earlier writes to disk.
double timed(const std::string& command) {
  std::system("sync");
  auto start = std::chrono::steady_clock::now();
  int status = std::system(command.c_str());
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (status != 0) {
    std::fprintf(stderr, "failed (%d): %s\n", status, command.c_str());
    std::exit(1);
  }
  return seconds;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  fs::path work = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
  fs::path xcopy =
      argc > 3 ? fs::path(argv[3]) : fs::canonical("/proc/self/exe").parent_path() / "xcopy";
  fs::path prefix = work / ("zepo-xcopy-bench-" + std::to_string(std::random_device{}()));

  { zepo::LinuxPlatform layout(prefix.string()); }  // the default workstation
  fs::path share = prefix / "dosdevices" / "unc" / "SRV" / "share";
  std::printf("making the tree in %s ...\n", share.c_str());
  std::uint64_t bytes = makeTree(share);
  std::size_t files = countFiles(share);
  std::printf("tree: %zu files, %d folders, %.1f MiB\n", files, kTopFolders * (1 + kSubfoldersEach),
              static_cast<double>(bytes) / (1 << 20));

  fs::path xcopyDest = prefix / "drive_c" / "dest";  // c:\dest
  fs::path cpDest = prefix / "cp-dest";
  const std::string xcopyCommand = "ZEPO_PREFIX=" + shellQuoted(prefix.string()) + " " +
                                   shellQuoted(xcopy.string()) +
                                   R"( '\\SRV\share\*.*' 'c:\dest\*.*' /s > /dev/null)";
  const std::string cpCommand =
      "cp -r " + shellQuoted(share.string()) + " " + shellQuoted(cpDest.string());

  std::vector<double> xcopyTimes, cpTimes;
  for (int r = 0; r < rounds; ++r) {
    fs::remove_all(xcopyDest);
    fs::remove_all(cpDest);
    // Alternate which copy goes first, so that neither always meets the
    // other's write-back.
    if (r % 2 == 0) {
      xcopyTimes.push_back(timed(xcopyCommand));
      cpTimes.push_back(timed(cpCommand));
    } else {
      cpTimes.push_back(timed(cpCommand));
      xcopyTimes.push_back(timed(xcopyCommand));
    }
    std::size_t copiedX = countFiles(xcopyDest), copiedC = countFiles(cpDest);
    std::printf("round %d: xcopy %.3f s (%zu files), cp -r %.3f s (%zu files)\n", r + 1,
                xcopyTimes.back(), copiedX, cpTimes.back(), copiedC);
    if (copiedX != files || copiedC != files) {
      std::fprintf(stderr, "incomplete copy\n");
      return 1;
    }
  }
  double x = median(xcopyTimes), c = median(cpTimes);
  std::printf("median: xcopy %.3f s, cp -r %.3f s, ratio %.2f (target at most 1.20)\n", x, c,
              x / c);
  fs::remove_all(prefix);
  return 0;
}
