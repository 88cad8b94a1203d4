// End-to-end runs of the xcopy program on a test workstation, started as the
// installer starts it: a separate process that finds the workstation through
// ZEPO_PREFIX.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/test_workstation.h"

namespace zepo {
namespace {

struct XcopyRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs build/bin/xcopy with `args` (each one word, as the runner passes them)
// on the workstation `ws`. The shell here only sets the environment and
// collects the output.
XcopyRun xcopy(TestWorkstation& ws, const std::vector<std::string>& args) {
  const std::string capture = ws.dir() + "/xcopy-run";
  std::string command =
      "ZEPO_PREFIX=" + shellQuoted(ws.dir()) + " " + shellQuoted(ZEPO_BIN_DIR "/xcopy");
  for (const std::string& arg : args) command += " " + shellQuoted(arg);
  command += " > " + shellQuoted(capture + ".out") + " 2> " + shellQuoted(capture + ".err") +
             " < /dev/null; echo $? > " + shellQuoted(capture + ".code");
  std::system(command.c_str());
  XcopyRun run;
  std::string code = readWhole(capture + ".code");
  if (!code.empty()) run.exitCode = std::stoi(code);
  run.out = readWhole(capture + ".out");
  run.err = readWhole(capture + ".err");
  return run;
}

// \\SRV1\zepo\prog as a server holds it, beside an older copy on C:.
class XcopyTree : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.addShare("SRV1", "zepo");
    Platform& p = ws.platform();
    for (const char* folder :
         {R"(\\SRV1\zepo\prog)", R"(\\SRV1\zepo\prog\sub)", R"(\\SRV1\zepo\prog\sub\deep)",
          R"(\\SRV1\zepo\prog\vuota)", R"(\\SRV1\zepo\prog\solonascosti)",
          R"(\\SRV1\zepo\prog\nascosta)", R"(\\SRV1\zepo\dati)", R"(\\SRV1\zepo\dati\vuota)",
          R"(c:\zepo)", R"(c:\zepo\prog)"})
      p.makeFolder(folder);
    ws.writeFile(R"(\\SRV1\zepo\prog\zepo.exe)", "MZ program");
    ws.writeFile(R"(\\SRV1\zepo\prog\A.ini)", "[A]\r\n");
    ws.writeFile(R"(\\SRV1\zepo\prog\sub\b.txt)", "b");
    ws.writeFile(R"(\\SRV1\zepo\prog\sub\deep\c.bin)", std::string("c\0\xff", 3));
    ws.writeFile(R"(\\SRV1\zepo\prog\nascosto.txt)", "hidden");
    ws.setHidden(R"(\\SRV1\zepo\prog\nascosto.txt)", kAttrHidden);
    ws.writeFile(R"(\\SRV1\zepo\prog\sistema.sys)", "system");
    ws.setHidden(R"(\\SRV1\zepo\prog\sistema.sys)", kAttrSystem);
    ws.writeFile(R"(\\SRV1\zepo\prog\solonascosti\h.txt)", "hidden");
    ws.setHidden(R"(\\SRV1\zepo\prog\solonascosti\h.txt)", kAttrHidden | kAttrSystem);
    ws.writeFile(R"(\\SRV1\zepo\prog\nascosta\x.txt)", "in a hidden folder");
    ws.setHidden(R"(\\SRV1\zepo\prog\nascosta)", kAttrHidden);
    ws.writeFile(R"(c:\zepo\prog\zepo.exe)", "old version");
    ws.writeFile(R"(c:\zepo\prog\A.INI)", "old settings");
  }

  TestWorkstation ws;
};

TEST_F(XcopyTree, CopiesVisibleFilesAndNonEmptySubfoldersOverwritingOldOnes) {
  for (int round = 0; round < 2; ++round) {  // the second run overwrites everything again
    XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\zepo\prog\*.*)", "/s"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "\\\\SRV1\\zepo\\prog\\A.ini\n"
              "\\\\SRV1\\zepo\\prog\\zepo.exe\n"
              "\\\\SRV1\\zepo\\prog\\sub\\b.txt\n"
              "\\\\SRV1\\zepo\\prog\\sub\\deep\\c.bin\n"
              "4 File(s) copied\n");
  }
  EXPECT_EQ(ws.readFile(R"(c:\zepo\prog\zepo.exe)"), "MZ program");
  EXPECT_EQ(ws.readFile(R"(c:\zepo\prog\A.ini)"), "[A]\r\n");
  // A.ini replaced the A.INI that was there: names ignore case.
  Platform& p = ws.platform();
  EXPECT_EQ(p.listFirst(R"(c:\zepo\prog\a.ini)", kAttrNormal), "A.INI");
  EXPECT_EQ(p.listNext(), "");
  EXPECT_EQ(ws.readFile(R"(c:\zepo\prog\sub\b.txt)"), "b");
  EXPECT_EQ(ws.readFile(R"(c:\zepo\prog\sub\deep\c.bin)"), std::string("c\0\xff", 3));
  EXPECT_FALSE(ws.exists(R"(c:\zepo\prog\nascosto.txt)"));
  EXPECT_FALSE(ws.exists(R"(c:\zepo\prog\sistema.sys)"));
  EXPECT_FALSE(ws.exists(R"(c:\zepo\prog\vuota)"));
  EXPECT_FALSE(ws.exists(R"(c:\zepo\prog\solonascosti)"));
  EXPECT_FALSE(ws.exists(R"(c:\zepo\prog\nascosta)"));
}

TEST_F(XcopyTree, WithoutSubfoldersOrWithEmptyOnes) {
  XcopyRun top = xcopy(ws, {R"(\\SRV1\zepo\prog)", R"(c:\nuova\cartella\prog)"});
  EXPECT_EQ(top.exitCode, 0) << top.err;
  EXPECT_EQ(top.out,
            "\\\\SRV1\\zepo\\prog\\A.ini\n\\\\SRV1\\zepo\\prog\\zepo.exe\n2 File(s) copied\n");
  EXPECT_TRUE(ws.exists(R"(c:\nuova\cartella\prog\zepo.exe)"));
  EXPECT_FALSE(ws.exists(R"(c:\nuova\cartella\prog\sub)"));

  XcopyRun all = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\tutto)", "/E"});
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_TRUE(ws.exists(R"(c:\tutto\vuota)"));
  EXPECT_TRUE(ws.exists(R"(c:\tutto\sub\deep\c.bin)"));
  EXPECT_FALSE(ws.exists(R"(c:\tutto\nascosta)"));
}

TEST_F(XcopyTree, CopiesOfReadOnlyFilesCanBeReplaced) {
  ws.writeFile(R"(\\SRV1\zepo\prog\sola.txt)", "read only");
  std::filesystem::permissions(ws.platform().hostPath(R"(\\SRV1\zepo\prog\sola.txt)"),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  ASSERT_TRUE(ws.platform().getAttributes(R"(\\SRV1\zepo\prog\sola.txt)") & kAttrReadOnly);
  for (const char* destination : {R"(c:\nuova)", R"(c:\nuova)", R"(c:\zepo\prog)"}) {
    XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\sola.txt)", destination});
    EXPECT_EQ(run.exitCode, 0) << destination << " " << run.err;
    EXPECT_EQ(run.out, "\\\\SRV1\\zepo\\prog\\sola.txt\n1 File(s) copied\n");
    EXPECT_EQ(ws.platform().getAttributes(std::string(destination) + "\\sola.txt") & kAttrReadOnly,
              0)
        << destination;
  }
}

TEST_F(XcopyTree, NothingToCopyGivesOne) {
  XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\dati\*.*)", R"(c:\zepo\dati\*.*)", "/S"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "0 File(s) copied\n");
  EXPECT_FALSE(ws.exists(R"(c:\zepo\dati)"));
}

TEST_F(XcopyTree, BadCommandLinesAndUnreachableSourcesGiveFour) {
  const std::vector<std::vector<std::string>> lines = {
      {R"(\\SRV2\zepo\prog\*.*)", R"(c:\x\*.*)", "/s"},        // unknown server
      {R"(\\SRV1\zepo\manca\*.*)", R"(c:\x\*.*)", "/s"},       // missing folder
      {R"(\\SRV1\zepo\dati)", "C\\*.*", R"(c:\x\*.*)", "/s"},  // a path with a blank, split
      {R"(\\SRV1\zepo\prog\*.*)", "/s"},
      {},
      {R"(\\SRV1\zepo\prog\*.*)", R"(c:\x\*.*)", "/z"},
      {R"(\\SRV1\zepo\prog\*.*)", R"(\\SRV1\zepo\prog\sub)", "/s"},  // into itself
  };
  for (const auto& args : lines) {
    XcopyRun run = xcopy(ws, args);
    EXPECT_EQ(run.exitCode, 4) << (args.empty() ? "" : args[0]) << " " << run.out << run.err;
    EXPECT_EQ(run.out, "");  // nothing copied, nothing listed
  }
  EXPECT_FALSE(ws.exists(R"(c:\x)"));
}

TEST_F(XcopyTree, AFileWhereAFolderIsNeededGivesFive) {
  ws.writeFile(R"(c:\blocco)", "a file");
  XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\blocco\prog\*.*)", "/s"});
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_EQ(ws.readFile(R"(c:\blocco)"), "a file");
}

}  // namespace
}  // namespace zepo
