#include "install/command_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/forwarding_platform.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

// Writes down the process calls on their way to a real platform.
class RecordingPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;

  bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                      std::uint32_t creationFlags, const StartupInfo& startupInfo,
                      ProcessInformation& processInformation) override {
    calls.push_back("CreateProcessA [" + commandLine + "] " + (inheritHandles ? "1 " : "0 ") +
                    std::to_string(creationFlags) + " " + std::to_string(startupInfo.cb));
    bool started = ForwardingPlatform::CreateProcessA(commandLine, inheritHandles, creationFlags,
                                                      startupInfo, processInformation);
    process = processInformation.hProcess;
    thread = processInformation.hThread;
    return started;
  }
  std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) override {
    calls.push_back("Wait " + name(handle) + " " + std::to_string(milliseconds));
    return ForwardingPlatform::WaitForSingleObject(handle, milliseconds);
  }
  bool GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) override {
    calls.push_back("GetExitCode " + name(handle));
    if (failExitCode) return false;
    return ForwardingPlatform::GetExitCodeProcess(handle, exitCode);
  }
  bool CloseHandle(ProcessHandle handle) override {
    calls.push_back("Close " + name(handle));
    return ForwardingPlatform::CloseHandle(handle);
  }

  std::vector<std::string> calls;
  bool failExitCode = false;

 private:
  std::string name(ProcessHandle handle) const {
    if (handle == 0) return "0";
    if (handle == process) return "process";
    if (handle == thread) return "thread";
    return "other";
  }
  ProcessHandle process = 0;
  ProcessHandle thread = 0;
};

TEST(EseguiComando, ReturnsTheExitCodeOfTheEndedProgram) {
  // The project's xcopy, found beside the program on every platform: 4 for
  // a command line without a source, 0 when it copied.
  TestWorkstation ws;
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\da\\a.txt", "a");
  RecordingPlatform platform(ws.platform());
  EXPECT_EQ(EseguiComando(platform, "xcopy"), 4);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{
                                "CreateProcessA [xcopy] 1 32 68",
                                "Wait process 4294967295",
                                "GetExitCode process",
                                "Close thread",
                                "Close process",
                            }));
  EXPECT_EQ(EseguiComando(platform, R"(xcopy \\SRV1\zepo\da\*.* \\SRV1\zepo\a\*.*)"), 0);
  EXPECT_EQ(ws.readFile("\\\\SRV1\\zepo\\a\\a.txt"), "a");
  // The wait's result stays when the exit code cannot be read.
  platform.failExitCode = true;
  EXPECT_EQ(EseguiComando(platform, "xcopy"), 0);
}

TEST(EseguiComando, AProgramThatCannotStartGivesMinusOneAtOnce) {
  TestWorkstation ws;
  RecordingPlatform platform(ws.platform());
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(EseguiComando(platform, "zepo-no-such-program /s"), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(platform.calls, (std::vector<std::string>{
                                "CreateProcessA [zepo-no-such-program /s] 1 32 68",
                                "Wait 0 4294967295",
                                "GetExitCode 0",
                                "Close 0",
                                "Close 0",
                            }));
}

TEST(CopiaCartella, RunsXcopyOnExactlyTheBuiltLine) {
  TestWorkstation ws;
  RecordingPlatform platform(ws.platform());
  CopiaCartella(platform, R"(\\SRV1\zepo\prog)", R"(D:\zepo\prog)");
  ASSERT_FALSE(platform.calls.empty());
  EXPECT_EQ(platform.calls.front(),
            R"(CreateProcessA [xcopy \\SRV1\zepo\prog\*.* D:\zepo\prog\*.* /s ] 1 32 68)");
  EXPECT_EQ(platform.calls.size(), 5u);

  // A blank in a path is carried as it is.
  platform.calls.clear();
  CopiaCartella(platform, R"(\\SRV1\zepo\dati C)", R"(d:\zepo)");
  ASSERT_FALSE(platform.calls.empty());
  EXPECT_EQ(platform.calls.front(),
            R"(CreateProcessA [xcopy \\SRV1\zepo\dati C\*.* d:\zepo\*.* /s ] 1 32 68)");
}

}  // namespace
}  // namespace zepo
