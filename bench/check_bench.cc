// The check run against a client whose prog folder, and the server's, hold
// 20,000 files each, all present; timed against `find` listing both trees.
//
//   check_bench [files]
//
// Prints the best of five timings of each and their ratio. The target is a
// check run that takes at most twice as long as find. The workstation is
// made in the temporary folder (TMPDIR, else /tmp) and removed at the end.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "check/check_run.h"
#include "platform/linux_platform.h"
#include "shell/drive_list.h"
#include "shell/installer.h"
#include "shell/ui.h"

namespace fs = std::filesystem;

namespace {

// Answers every box with OK and shows nothing.
class SilentUi : public zepo::Ui {
 public:
  int msgBox(const std::string&, int, const std::string&) override { return zepo::kIdOk; }
  std::string inputBox(const std::string&, const std::string&) override { return ""; }
  void show(zepo::Form) override {}
  void hide(zepo::Form) override {}
  void unload(zepo::Form) override {}
  void refresh(zepo::Form) override {}
  double screenWidthTwips() override { return 1024 * 15; }
  double twipsPerPixelX() override { return 15; }
};

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

double bestSeconds(const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
  std::mt19937 random(std::random_device{}());
  const fs::path prefix = fs::temp_directory_path() / ("check_bench_" + std::to_string(random()));
  int status = 0;
  {
    zepo::LinuxPlatform platform(prefix.string());
    const fs::path share = prefix / "dosdevices" / "unc" / "SRV1" / "zepo";
    const fs::path client = platform.hostPath("c:\\") + "/zepo";

    // Names of the usual shape, in no particular order on disk.
    for (int i = 0; i < files; ++i) {
      std::string name = "prg" + std::to_string((i * 7919) % files) + ".Prg";
      writeFile(share / "prog" / name, "s");
      writeFile(fs::path(client) / "prog" / name, "c");
    }
    for (const char* name : {"zepo.ini", "anagrafe.dat"}) {
      writeFile(share / "dati" / name, "s");
      writeFile(fs::path(client) / name, "c");
    }
    for (const char* name : {"winpcf.fon", "FLFILE32.dll"}) {
      writeFile(share / "wexa36" / name, "s");
      writeFile(fs::path(client) / "wexa36" / name, "c");
    }
    fs::create_directories(fs::path(client) / "temp");
    fs::create_directories(fs::path(client) / "txt");

    SilentUi ui;
    zepo::Installer app(platform, ui);
    app.frmMain.txtServer = "SRV1";
    app.frmMain.txtPath = "dati";
    zepo::setDrive(app, "c");

    const std::string findCommand = "find '" + (share / "prog").string() + "' '" +
                                    (fs::path(client) / "prog").string() + "' > /dev/null";
    // Warm the caches for both.
    status |= std::system(findCommand.c_str());
    zepo::frmMain::cmdCheck_Click(app);

    double checkTime = bestSeconds([&] { zepo::frmMain::cmdCheck_Click(app); });
    double findTime = bestSeconds([&] { status |= std::system(findCommand.c_str()); });
    const bool allPresent = app.esito.txtCheck[1].text == "OK" && !app.esito.txtCheck[1].emphasised;

    std::printf("files per tree:   %d\n", files);
    std::printf("check run:        %.1f ms  (prog row %s)\n", checkTime * 1000,
                allPresent ? "OK" : "NOT OK");
    std::printf("find both trees:  %.1f ms\n", findTime * 1000);
    std::printf("ratio:            %.2f  (target at most 2.00)\n", checkTime / findTime);
    if (!allPresent) status = 1;
  }
  fs::remove_all(prefix);
  return status == 0 ? 0 : 1;
}
