// Times the hosts update on a hosts file of 200,000 lines that does not name
// the server (so every line is copied and the server's line added at the
// end) against an awk program making the same rewrite of the same file.
// Prints both times, the ratio and whether the two results are equal, and
// the process's peak memory beside the file's size: the files are read by
// blocks, so the peak must not grow with the file.
//
//   build/bin/hosts_bench [lines]
//
// Runs on a temporary prefix that it removes again; needs awk on PATH.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "install/hosts_services.h"
#include "platform/linux_platform.h"
#include "shell/installer.h"
#include "shell/settings.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A user interface that answers OK and counts what it is shown.
class SilentUi : public zepo::Ui {
 public:
  int messages = 0;
  int msgBox(const std::string&, int, const std::string&) override {
    ++messages;
    return zepo::kIdOk;
  }
  std::string inputBox(const std::string&, const std::string&) override { return ""; }
  void show(zepo::Form) override {}
  void hide(zepo::Form) override {}
  void unload(zepo::Form) override {}
  void refresh(zepo::Form) override {}
  double screenWidthTwips() override { return 1024 * 15; }
  double twipsPerPixelX() override { return 15; }
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream out;
  out << in.rdbuf();
  return out.str();
}

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 200000;
  const int rounds = 3;

  std::random_device random;
  fs::path prefix = fs::temp_directory_path() / ("hosts_bench_" + std::to_string(random()));
  fs::create_directories(prefix);
  int status = 0;
  {
    zepo::LinuxPlatform platform(prefix.string());
    SilentUi ui;
    zepo::Installer app(platform, ui);
    app.frmMain.txtServer = "SRV1";
    app.frmMain.txtIP = "10.0.0.5";

    fs::create_directories(prefix / "dosdevices" / "unc" / "SRV1" / "zepo");
    std::ofstream(prefix / "dosdevices" / "unc" / "SRV1" / "zepo" / "zepoinst.ini",
                  std::ios::binary)
        << "[SERV]\r\nServiceName=crserver\r\nServiceID=5000/tcp\r\nServiceComment=#db\r\n";

    const std::string etc = zepo::windowsFolder(platform) + "\\system32\\drivers\\etc";
    const fs::path hosts = platform.hostPath(etc + "\\hosts");
    const fs::path services = platform.hostPath(etc + "\\services");
    const fs::path source = prefix / "hosts.source";
    const fs::path servicesSource = prefix / "services.source";
    const fs::path awkOut = prefix / "hosts.awk";
    {
      std::ofstream out(source, std::ios::binary);
      char line[128];
      for (long i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, "10.%ld.%ld.%ld\thost%07ld.example.lan\t# seat %ld\r\n",
                      (i >> 16) & 255, (i >> 8) & 255, i & 255, i, i % 97);
        out << line;
      }
    }
    fs::copy_file(services, servicesSource, fs::copy_options::overwrite_existing);

    // The same rewrite: each line naming the server replaced, the line added
    // when none did, CR LF after every line.
    const std::string awk =
        "awk 'BEGIN { RS = \"\\r?\\n\"; ORS = \"\\r\\n\"; l = \"10.0.0.5\\tSRV1\" } "
        "$0 == l { exact = 1 } "
        "index($0, \"SRV1\") { print l; r = 1; next } { print } "
        "END { if (!r) print l }' '" +
        source.string() + "' > '" + awkOut.string() + "'";

    double ours = 1e9;
    double theirs = 1e9;
    for (int round = 0; round < rounds; ++round) {
      fs::copy_file(source, hosts, fs::copy_options::overwrite_existing);
      fs::copy_file(servicesSource, services, fs::copy_options::overwrite_existing);
      auto start = Clock::now();
      zepo::AggiornaHostsServizi(app, etc);
      ours = std::min(ours, seconds(Clock::now() - start));

      start = Clock::now();
      if (std::system(awk.c_str()) != 0) {
        std::fprintf(stderr, "awk failed\n");
        status = 1;
        break;
      }
      theirs = std::min(theirs, seconds(Clock::now() - start));
    }

    // Taken before the results are read whole for the comparison below.
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024;
    const double fileMb = static_cast<double>(fs::file_size(source)) / (1024 * 1024);

    if (status == 0) {
      bool same = readAll(hosts) == readAll(awkOut);
      std::printf("hosts update, %ld lines, server line missing (best of %d)\n", lines, rounds);
      std::printf("  AggiornaHostsServizi: %8.3f s\n", ours);
      std::printf("  awk:                  %8.3f s\n", theirs);
      std::printf("  ratio:                %8.2f (target at most 2.00)\n", ours / theirs);
      std::printf("  results equal:        %s\n", same ? "yes" : "NO");
      std::printf("  messages shown:       %d\n", ui.messages);
      std::printf("  peak memory:          %8.1f MB for a %.1f MB hosts\n", peakMb, fileMb);
      if (!same || ui.messages != 0) status = 1;
    }
  }
  fs::remove_all(prefix);
  return status;
}
