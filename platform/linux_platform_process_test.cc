// What only the Linux workstation's processes have (the rest is the
// platform contract): exit codes and signals, the Windows rules for the
// command line with no shell in between, what the child inherits, where the
// program is looked for, and ended children collected.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/linux_platform.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

std::string readHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts `commandLine` as the installer does and waits for its end.
std::int32_t run(Platform& platform, const std::string& commandLine) {
  ProcessInformation info;
  EXPECT_TRUE(platform.CreateProcessA(commandLine, true, kNormalPriorityClass, StartupInfo{}, info))
      << commandLine;
  EXPECT_EQ(platform.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  std::int32_t code = -12345;
  EXPECT_TRUE(platform.GetExitCodeProcess(info.hProcess, code));
  platform.CloseHandle(info.hThread);
  platform.CloseHandle(info.hProcess);
  return code;
}

TEST(LinuxProcess, ExitCodesWaitsAndSignals) {
  TestWorkstation ws;
  Platform& platform = ws.platform();
  EXPECT_EQ(run(platform, R"(sh -c "exit 255")"), 255);

  // A finite wait times out while the program runs; a signal ends it with
  // 128 plus its number.
  ProcessInformation info;
  std::int32_t code = 0;
  ASSERT_TRUE(platform.CreateProcessA("sleep 30", true, kNormalPriorityClass, StartupInfo{}, info));
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform.WaitForSingleObject(info.hProcess, 50), 0x102u);  // WAIT_TIMEOUT
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_TRUE(platform.GetExitCodeProcess(info.hProcess, code));
  EXPECT_EQ(code, 259);  // STILL_ACTIVE
  ASSERT_EQ(kill(static_cast<pid_t>(info.dwProcessId), SIGTERM), 0);
  EXPECT_EQ(platform.WaitForSingleObject(info.hProcess, 10000), kWaitObject0);
  EXPECT_TRUE(platform.GetExitCodeProcess(info.hProcess, code));
  EXPECT_EQ(code, 128 + SIGTERM);
  platform.CloseHandle(info.hThread);
  platform.CloseHandle(info.hProcess);

  // Closing the handles does not end the program; once ended, it is
  // collected when the next one starts.
  ASSERT_TRUE(platform.CreateProcessA("sleep 30", true, kNormalPriorityClass, StartupInfo{}, info));
  const pid_t pid = static_cast<pid_t>(info.dwProcessId);
  EXPECT_TRUE(platform.CloseHandle(info.hThread));
  EXPECT_TRUE(platform.CloseHandle(info.hProcess));
  EXPECT_EQ(kill(pid, 0), 0);
  ASSERT_EQ(kill(pid, SIGKILL), 0);
  bool gone = false;
  for (int i = 0; i < 200 && !gone; ++i) {
    EXPECT_EQ(run(platform, "true"), 0);
    gone = kill(pid, 0) != 0 && errno == ESRCH;
  }
  EXPECT_TRUE(gone);
}

TEST(LinuxProcess, TheChildGetsTheWindowsArgumentsTheEnvironmentAndTheFolder) {
  TestWorkstation first;
  TestWorkstation second;  // the more recent prefix, in case it went to the environment
  // The program is sh only to write its arguments down; the line itself is
  // split by the runner, so ; & | $( ) reach it as plain text.
  const std::string out = first.dir() + "/args.txt";
  setenv("ZEPO_PROCESS_TEST_MARK", "marked", 1);
  // It writes the prefix, a variable of the installer's environment and its
  // folder first.
  EXPECT_EQ(
      run(first.platform(), R"(sh -c "printf '[%s]\n' \"$ZEPO_PREFIX\" )"
                            R"(\"$ZEPO_PROCESS_TEST_MARK\" \"$(pwd -P)\" \"$@\" > )" +
                                out + R"(" zepo a;touch&x "b  c" $(id) x\"y \\SRV\zepo\*.* | "")"),
      0);
  unsetenv("ZEPO_PROCESS_TEST_MARK");
  EXPECT_EQ(readHostFile(out),
            "[" + first.dir() + "]\n[marked]\n[" + std::filesystem::current_path().string() +
                "]\n[a;touch&x]\n[b  c]\n[$(id)]\n[x\"y]\n[\\\\SRV\\zepo\\*.*]\n[|]\n[]\n");
}

TEST(LinuxProcess, TheInstallersOwnFolderComesBeforePath) {
  // The project's xcopy lies beside the test program; another one, first on
  // PATH, ends with 97. Started without arguments, the project's reports a
  // bad command line.
  TestWorkstation ws;
  const std::string decoys = ws.dir() + "/decoys";
  std::filesystem::create_directory(decoys);
  std::ofstream(decoys + "/xcopy") << "#!/bin/sh\nexit 97\n";
  std::filesystem::permissions(decoys + "/xcopy", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (decoys + ":" + path).c_str(), 1);
  EXPECT_EQ(run(ws.platform(), "sh -c \"xcopy\""), 97);  // the decoy is on PATH
  EXPECT_EQ(run(ws.platform(), "xcopy"), 4);
  setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace zepo
