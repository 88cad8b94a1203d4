// End-to-end runs of the xcopy program on a test workstation, started as the
// installer starts it: a separate process that finds the workstation through
// ZEPO_PREFIX.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
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
// on the workstation `ws`, copying `threads` files at once (its default
// when empty). The shell here only sets the environment and collects the
// output.
XcopyRun xcopy(TestWorkstation& ws, const std::vector<std::string>& args,
               const std::string& threads = "") {
  const std::string capture = ws.dir() + "/xcopy-run";
  // A copy that goes round for ever is stopped, and fails its test.
  std::string command = "ZEPO_PREFIX=" + shellQuoted(ws.dir()) +
                        " ZEPO_XCOPY_THREADS=" + shellQuoted(threads) + " timeout 60 " +
                        shellQuoted(ZEPO_BIN_DIR "/xcopy");
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

// Every file below the Linux folder `host`, by its path there, with its
// contents.
std::map<std::string, std::string> filesBelow(const std::string& host) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(host))
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), host).string()] = readWhole(entry.path());
  return files;
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
  // Copies keep the time of their source, into a folder that was there
  // (prog) and into one that the copy makes (sub\deep).
  const auto longAgo = std::chrono::floor<std::chrono::seconds>(
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  for (const char* file : {R"(\\SRV1\zepo\prog\zepo.exe)", R"(\\SRV1\zepo\prog\sub\deep\c.bin)"})
    std::filesystem::last_write_time(ws.hostPath(file), longAgo);
  for (int round = 0; round < 2; ++round) {  // the second run overwrites everything again
    XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\zepo\prog\*.*)", "/s"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "\\\\SRV1\\zepo\\prog\\A.ini\n"
              "\\\\SRV1\\zepo\\prog\\zepo.exe\n"
              "\\\\SRV1\\zepo\\prog\\sub\\b.txt\n"
              "\\\\SRV1\\zepo\\prog\\sub\\deep\\c.bin\n"
              "4 File(s) copied\n");
    for (const char* file : {R"(c:\zepo\prog\zepo.exe)", R"(c:\zepo\prog\sub\deep\c.bin)"})
      EXPECT_EQ(std::filesystem::last_write_time(ws.hostPath(file)), longAgo) << file << round;
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

TEST_F(XcopyTree, ManyFilesAtOnceAreToldAndCopiedAsOneAfterAnother) {
  // Folders of files where a large one comes first, so that the small ones
  // after it are done before it, and names that differ in case only, which
  // are one file where the destination folder was there already.
  const std::string many = R"(\\SRV1\zepo\prog\molti)";
  ws.platform().makeFolder(many);
  for (const char* folder : {"a", "b", "c"}) {
    ws.platform().makeFolder(many + "\\" + folder);
    for (int i = 0; i < 25; ++i) {
      std::string name = "f" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt";
      ws.writeFile(many + "\\" + folder + "\\" + name,
                   std::string(i == 0 ? 4 << 20 : 100 + i, folder[0]));
    }
    for (char k = '0'; k <= '9'; ++k) {
      for (std::string name : {std::string("D") + k + ".TXT", std::string("d") + k + ".txt"})
        std::ofstream(ws.hostPath(many + "\\" + folder) + "/" + name) << folder << name;
    }
  }
  const std::string old = R"(c:\zepo\prog)";
  auto oldCopy = [&] {
    std::filesystem::remove_all(ws.hostPath(old));
    for (const char* folder : {"", R"(\molti)", R"(\molti\a)", R"(\molti\b)", R"(\molti\c)"})
      ws.platform().makeFolder(old + folder);
    ws.writeFile(old + R"(\zepo.exe)", "old version");
  };
  auto unwritable = [&] {
    oldCopy();
    ws.writeFile(old + R"(\molti\b\f07.txt)", "read-only");
    std::filesystem::permissions(ws.hostPath(old + R"(\molti\b\f07.txt)"),
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
  };
  struct Case {
    const char* why;
    std::string destination;
    const char* subfolders;
    std::function<void()> before;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {"into folders that are there", old, "/s", oldCopy, 0},
      {"a file that cannot be written", old, "/s", unwritable, 5},
  };
  for (const Case& c : cases) {
    std::vector<XcopyRun> runs;
    std::vector<std::map<std::string, std::string>> copies;
    for (const char* threads : {"1", "8"}) {
      std::filesystem::remove_all(ws.hostPath(c.destination));
      c.before();
      runs.push_back(
          xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", c.destination + R"(\*.*)", c.subfolders}, threads));
      copies.push_back(filesBelow(ws.hostPath(c.destination)));
    }
    EXPECT_EQ(runs[0].exitCode, c.exitCode) << c.why << " " << runs[0].err;
    EXPECT_EQ(runs[1].exitCode, runs[0].exitCode) << c.why;
    EXPECT_EQ(runs[1].out, runs[0].out) << c.why;
    EXPECT_EQ(runs[1].err, runs[0].err) << c.why;
    // A failed copy leaves later files that were being copied meanwhile;
    // they are not told.
    if (c.exitCode == 0) {
      EXPECT_TRUE(copies[1] == copies[0]) << c.why;
    }
  }
}

TEST_F(XcopyTree, FolderLinksBackToAFolderItIsInAreNotEnteredAgain) {
  // sub\giro leads to prog, where the copy starts; prog\giro to zepo, which
  // holds prog: entered once, prog is not entered from it again.
  std::filesystem::create_directory_symlink("..", ws.hostPath(R"(\\SRV1\zepo\prog\sub)") + "/giro");
  std::filesystem::create_directory_symlink("..", ws.hostPath(R"(\\SRV1\zepo\prog)") + "/giro");
  ws.writeFile(R"(\\SRV1\zepo\leggimi.txt)", "read me");
  XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\copia\*.*)", "/s"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "\\\\SRV1\\zepo\\prog\\A.ini\n"
            "\\\\SRV1\\zepo\\prog\\zepo.exe\n"
            "\\\\SRV1\\zepo\\prog\\giro\\leggimi.txt\n"
            "\\\\SRV1\\zepo\\prog\\sub\\b.txt\n"
            "\\\\SRV1\\zepo\\prog\\sub\\deep\\c.bin\n"
            "5 File(s) copied\n");
  EXPECT_EQ(ws.readFile(R"(c:\copia\giro\leggimi.txt)"), "read me");
  EXPECT_FALSE(ws.exists(R"(c:\copia\giro\prog)"));
  EXPECT_FALSE(ws.exists(R"(c:\copia\sub\giro)"));
}

TEST_F(XcopyTree, NamesThatNoWindowsPathSpellsAreLeftOutAndNeverEscape) {
  // Linux names that a Windows path would read as a path of their own (a
  // copy into an existing folder would climb out of it to the hosts file),
  // a bad name or a pattern: left out, and the rest is copied.
  const std::string hosts = R"(c:\WINDOWS\system32\drivers\etc\hosts)";
  const std::string before = ws.readFile(hosts);
  // What the climbing name reaches on the share, the share's root being as
  // far as a share path climbs.
  ws.writeFile(R"(\\SRV1\zepo\WINDOWS\system32\drivers\etc\hosts)", "127.0.0.1 evil\r\n");
  const std::string prog = ws.hostPath(R"(\\SRV1\zepo\prog)");
  for (const char* name : {R"(x\..\..\..\WINDOWS\system32\drivers\etc\hosts)", "report 10:30.txt",
                           "a|b", "what?.txt"}) {
    std::ofstream(prog + "/" + name) << "127.0.0.1 evil\r\n";
    for (const char* destination : {R"(c:\zepo\prog)", R"(c:\nuova)"}) {
      XcopyRun run = xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", destination, "/s"});
      EXPECT_EQ(run.exitCode, 0) << name << " " << destination << " " << run.err;
      EXPECT_NE(run.out.find("\n4 File(s) copied\n"), std::string::npos) << name << destination;
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ws.hostPath(destination)), {}), 3)
          << name << " " << destination;  // zepo.exe, A.ini, sub
      EXPECT_EQ(ws.readFile(hosts), before) << name << " " << destination;
    }
    std::filesystem::remove(prog + "/" + name);
  }
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

TEST_F(XcopyTree, FailuresGiveTheirExitCodes) {
  ws.writeFile(R"(c:\blocco)", "a file");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{R"(\\SRV1\zepo\dati\*.*)", R"(c:\x\*.*)", "/S"}, 1},        // nothing to copy
      {{R"(\\SRV2\zepo\prog\*.*)", R"(c:\x\*.*)", "/s"}, 4},        // unknown server
      {{R"(\\SRV1\zepo\manca\*.*)", R"(c:\x\*.*)", "/s"}, 4},       // missing folder
      {{R"(\\SRV1\zepo\dati)", "C\\*.*", R"(c:\x\*.*)", "/s"}, 4},  // a path with a blank
      {{}, 4},
      {{R"(\\SRV1\zepo\prog\*.*)", R"(c:\x\*.*)", "/z"}, 4},
      {{R"(\\SRV1\zepo\prog\*.*)", R"(\\SRV1\zepo\prog\sub)", "/s"}, 4},  // into itself
      // A file where a folder is needed.
      {{R"(\\SRV1\zepo\prog\*.*)", R"(c:\blocco\prog\*.*)", "/s"}, 5},
  };
  for (const Case& c : cases) {
    XcopyRun run = xcopy(ws, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << (c.args.empty() ? "" : c.args[0]) << " " << run.err;
    // Nothing listed before a copy.
    if (c.exitCode != 5) {
      EXPECT_EQ(run.out, c.exitCode == 1 ? "0 File(s) copied\n" : "");
    }
  }
  EXPECT_FALSE(ws.exists(R"(c:\x)"));
  EXPECT_EQ(ws.readFile(R"(c:\blocco)"), "a file");
}

}  // namespace
}  // namespace zepo
