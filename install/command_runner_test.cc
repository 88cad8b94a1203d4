#include "install/command_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fault_platform.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

TEST(EseguiComando, WaitsForTheProgramAndGivesItsExitCode) {
  // The project's xcopy, found beside the program: 4 for a command line
  // without a source, 0 when it copied; -1 for a program that cannot start.
  TestWorkstation ws;
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\da\\a.txt", "a");
  FaultPlatform platform(ws.platform());
  EXPECT_EQ(EseguiComando(platform, "xcopy"), 4);
  EXPECT_EQ(EseguiComando(platform, "zepo-no-such-program /s"), -1);
  EXPECT_EQ(platform.log, (std::vector<std::string>{
                              "CreateProcessA(xcopy, 1, 32, 68)",
                              "WaitForSingleObject(#1, 4294967295)",
                              "GetExitCodeProcess(#1)",
                              "CloseHandle(#2)",
                              "CloseHandle(#1)",
                              "CreateProcessA(zepo-no-such-program /s, 1, 32, 68)",
                              "WaitForSingleObject(0, 4294967295)",
                              "GetExitCodeProcess(0)",
                              "CloseHandle(0)",
                              "CloseHandle(0)",
                          }));
  CopiaCartella(platform, R"(\\SRV1\zepo\da)", R"(\\SRV1\zepo\a)");
  EXPECT_EQ(ws.readFile("\\\\SRV1\\zepo\\a\\a.txt"), "a");
  // A blank in a path is carried as it is.
  CopiaCartella(platform, R"(\\SRV1\zepo\dati C)", R"(d:\zepo)");
  EXPECT_EQ(platform.calls("CreateProcessA").back(),
            R"(CreateProcessA(xcopy \\SRV1\zepo\dati C\*.* d:\zepo\*.* /s , 1, 32, 68))");
  // The wait's result stays when the exit code cannot be read.
  platform.rules = {FaultPlatform::answer("GetExitCodeProcess", "0")};
  EXPECT_EQ(EseguiComando(platform, "xcopy"), 0);
}

}  // namespace
}  // namespace zepo
