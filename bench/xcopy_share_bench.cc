// Times the project's xcopy against `cp -r` on a share behind a slow link:
// a tree of 5,000 small files in 50 folders, served by slow_share with 0, 1
// and 5 ms per file-system operation, copied with xcopy as the installer
// starts it (its default threads, and one thread) and with cp -r, each
// copy on a share mounted anew. Prints a table of the times and ratios and
// whether the targets are met: with a delay, xcopy at least 5 times faster
// than cp -r; without, at most 1.1 times as slow.
//
//   xcopy_share_bench [WORK_FOLDER [DELAY_MS...]]
//
// WORK_FOLDER (default: the system's temporary folder) is where the
// workstation and the mount point are made; they are removed at the end.
// DELAY_MS (default: 0 1 5) are the delays measured.
// Skips, with a message and exit status 0, where FUSE is missing (no
// /dev/fuse, no fusermount3, or no slow_share beside this program). Exit
// status 1 when a copy fails or a target is missed.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

constexpr int kTopFolders = 5;
constexpr int kSubfoldersEach = 9;  // 5 + 5 * 9 = 50 folders
constexpr int kFilesPerFolder = 100;
constexpr int kFiles = kTopFolders * (1 + kSubfoldersEach) * kFilesPerFolder;
// A copy without delay is quick and the machine may be busy: the median
// of a few is compared.
constexpr int kRoundsWithoutDelay = 3;

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void makeTree(const fs::path& share) {
  std::mt19937_64 random(20261206);
  auto fill = [&](const fs::path& folder) {
    fs::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string bytes(512 + random() % 7680, '\0');  // 0.5 to 8 KiB
      for (char& c : bytes) c = static_cast<char>(random());
      std::ofstream(folder / ("file" + std::to_string(f) + ".dat"), std::ios::binary) << bytes;
    }
  };
  for (int t = 0; t < kTopFolders; ++t) {
    fs::path top = share / ("cartella" + std::to_string(t));
    fill(top);
    for (int s = 0; s < kSubfoldersEach; ++s) fill(top / ("sotto" + std::to_string(s)));
  }
}

int countFiles(const fs::path& folder) {
  int n = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) ++n;
  return n;
}

bool run(const std::string& command) {
  int status = std::system(command.c_str());
  if (status != 0) std::fprintf(stderr, "failed (%d): %s\n", status, command.c_str());
  return status == 0;
}

struct Bench {
  fs::path slowShare, source, mount, xcopy, prefix;

  // Wall time of `command` copying from the share mounted anew with
  // `delayMs`; a negative time when the copy failed or fell short.
  double timed(unsigned delayMs, const std::string& command, const fs::path& destination) {
    fs::remove_all(destination);
    std::system("sync");
    if (!run(shellQuoted(slowShare.string()) + " --delay-ms=" + std::to_string(delayMs) + " " +
             shellQuoted(source.string()) + " " + shellQuoted(mount.string())))
      return -1;
    auto start = std::chrono::steady_clock::now();
    bool ok = run(command);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run("fusermount3 -u " + shellQuoted(mount.string()));
    int copied = countFiles(destination);
    if (copied != kFiles) {
      std::fprintf(stderr, "%d files of %d copied: %s\n", copied, kFiles, command.c_str());
      ok = false;
    }
    fs::remove_all(destination);
    return ok ? seconds : -1;
  }

  std::string xcopyCommand(const std::string& threads) const {
    return "ZEPO_PREFIX=" + shellQuoted(prefix.string()) + " ZEPO_XCOPY_THREADS=" + threads + " " +
           shellQuoted(xcopy.string()) + R"( '\\SRV\share\*.*' 'c:\dest\*.*' /s > /dev/null)";
  }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  Bench bench;
  bench.slowShare = bin / "slow_share";
  bench.xcopy = bin / "xcopy";
  if (access("/dev/fuse", R_OK | W_OK) != 0 ||
      std::system("command -v fusermount3 >/dev/null") != 0 || !fs::exists(bench.slowShare)) {
    std::printf("skipped: FUSE is not available here (/dev/fuse, fusermount3, slow_share)\n");
    return 0;
  }

  fs::path top = work / ("zepo-share-bench-" + std::to_string(std::random_device{}()));
  bench.prefix = top / "prefix";
  bench.source = top / "server";
  bench.mount = top / "mnt";
  { zepo::LinuxPlatform layout(bench.prefix.string()); }  // the default workstation
  fs::create_directories(bench.prefix / "dosdevices" / "unc" / "SRV");
  fs::create_directories(bench.mount);
  fs::create_directory_symlink(bench.mount, bench.prefix / "dosdevices" / "unc" / "SRV" / "share");
  std::printf("making %d files in %d folders in %s ...\n", kFiles,
              kTopFolders * (1 + kSubfoldersEach), bench.source.c_str());
  makeTree(bench.source);

  const fs::path xcopyDestination = bench.prefix / "drive_c" / "dest";  // c:\dest
  const fs::path cpDestination = top / "cp-dest";
  const std::string cpCommand =
      "cp -r " + shellQuoted(bench.mount.string()) + " " + shellQuoted(cpDestination.string());

  std::printf("\n| delay | xcopy | xcopy, 1 thread | cp -r | cp -r / xcopy | target | met |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  bool allMet = true;
  std::vector<unsigned> delays;
  for (int i = 2; i < argc; ++i) delays.push_back(static_cast<unsigned>(std::atoi(argv[i])));
  if (delays.empty()) delays = {0, 1, 5};
  for (unsigned delayMs : delays) {
    std::vector<double> threaded, single, cp;
    for (int r = 0; r < (delayMs == 0 ? kRoundsWithoutDelay : 1); ++r) {
      threaded.push_back(bench.timed(delayMs, bench.xcopyCommand(""), xcopyDestination));
      single.push_back(bench.timed(delayMs, bench.xcopyCommand("1"), xcopyDestination));
      cp.push_back(bench.timed(delayMs, cpCommand, cpDestination));
    }
    double x = median(threaded), x1 = median(single), c = median(cp);
    if (x < 0 || x1 < 0 || c < 0) {
      fs::remove_all(top);
      return 1;
    }
    double ratio = c / x;
    bool met = delayMs == 0 ? x <= 1.1 * c : ratio >= 5;
    allMet = allMet && met;
    std::printf("| %u ms | %.2f s | %.2f s | %.2f s | %.2f | %s | %s |\n", delayMs, x, x1, c, ratio,
                delayMs == 0 ? "xcopy <= 1.1 cp -r" : "cp -r / xcopy >= 5", met ? "yes" : "NO");
    std::fflush(stdout);
  }
  fs::remove_all(top);
  return allMet ? 0 : 1;
}
