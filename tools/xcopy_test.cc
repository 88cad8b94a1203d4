// End-to-end runs of the xcopy program on a test workstation, started as the
// installer starts it: a separate process that finds the workstation through
// ZEPO_PREFIX.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_workstation.h"

namespace zepo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using Tree = std::map<std::string, std::string>;

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs build/bin/xcopy with `args` (each one word, as the runner passes them)
// on the workstation `ws`, copying `threads` files at once (its default
// when empty): its exit code, standard output and standard error. A copy
// that goes round for ever is stopped, and fails.
std::tuple<int, std::string, std::string> xcopy(TestWorkstation& ws,
                                                const std::vector<std::string>& args,
                                                const std::string& threads = "") {
  const std::string err = ws.dir() + "/xcopy.err";
  std::string command = "ZEPO_PREFIX=" + shellQuoted(ws.dir()) +
                        " ZEPO_XCOPY_THREADS=" + shellQuoted(threads) + " timeout 60 " +
                        shellQuoted(ZEPO_BIN_DIR "/xcopy");
  for (const std::string& arg : args) command += " " + shellQuoted(arg);
  FILE* pipe = popen((command + " 2> " + shellQuoted(err) + " < /dev/null").c_str(), "r");
  std::string out;
  for (int c; (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  const int status = pclose(pipe);
  return {WEXITSTATUS(status), out, readWhole(err)};
}

// \\SRV1\zepo\prog as a server holds it, beside an older copy on C:: two
// of its files written long ago, a read-only one, a hidden folder, a system
// file, a folder of hidden files only, folder links back to folders a copy
// is in (sub\giro leads to prog, prog\giro to zepo, which holds prog), and
// Linux names that no Windows path spells: one that a Windows path would
// read as a path of its own (a copy into an existing folder would climb out
// of it to the hosts file), a bad name, a pattern.
class XcopyTree : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.addShare("SRV1", "zepo");
    const std::string share = R"(\\SRV1\zepo\)";
    for (const auto& [name, bytes] : Tree{{"prog\\zepo.exe", "MZ program"},
                                          {"prog\\A.ini", "[A]\r\n"},
                                          {"prog\\sola.txt", "read only"},
                                          {"prog\\sub\\b.txt", "b"},
                                          {"prog\\sub\\deep\\c.bin", "c\0\xff"s},
                                          {"prog\\sistema.sys", "system"},
                                          {"prog\\solonascosti\\h.txt", "hidden"},
                                          {"prog\\nascosta\\x.txt", "hidden"},
                                          {"leggimi.txt", "read me"}})
      ws.writeFile(share + name, bytes);
    ws.setHidden(share + "prog\\sistema.sys", kAttrSystem);
    ws.setHidden(share + "prog\\solonascosti\\h.txt", kAttrHidden);
    ws.setHidden(share + "prog\\nascosta", kAttrHidden);
    ws.writeFile(R"(c:\zepo\prog\zepo.exe)", "old version");
    ws.writeFile(R"(c:\zepo\prog\A.INI)", "old settings");
    const std::string prog = ws.hostPath(R"(\\SRV1\zepo\prog)");
    fs::create_directories(prog + "/vuota");
    fs::create_directories(prog + "/../dati/vuota");
    fs::permissions(prog + "/sola.txt", fs::perms::owner_write, fs::perm_options::remove);
    for (const char* file : {"/zepo.exe", "/sub/deep/c.bin"})
      fs::last_write_time(prog + file, longAgo);
    for (const char* name : {R"(x\..\..\..\WINDOWS\system32\drivers\etc\hosts)", "report 10:30.txt",
                             "a|b", "what?.txt"})
      std::ofstream(prog + "/" + name) << "127.0.0.1 evil\r\n";
    fs::create_directory_symlink("..", prog + "/sub/giro");
    fs::create_directory_symlink("..", prog + "/giro");
  }

  TestWorkstation ws;
  const fs::file_time_type longAgo = std::chrono::floor<std::chrono::seconds>(
      fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
};

const std::string kProgListed =
    "\\\\SRV1\\zepo\\prog\\A.ini\n\\\\SRV1\\zepo\\prog\\sola.txt\n\\\\SRV1\\zepo\\prog\\zepo.exe\n";
const std::string kSubListed =
    "\\\\SRV1\\zepo\\prog\\giro\\leggimi.txt\n\\\\SRV1\\zepo\\prog\\sub\\b.txt\n"
    "\\\\SRV1\\zepo\\prog\\sub\\deep\\c.bin\n";

// The files below a Linux folder, by their paths there, with their bytes
// ("!" after them when the owner cannot write the file), and its empty
// folders ("/").
Tree treeOf(const std::string& host) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(host)) {
    const bool writable =
        (entry.status().permissions() & fs::perms::owner_write) != fs::perms::none;
    if (!entry.is_directory() || fs::is_empty(entry))
      tree[fs::relative(entry, host).string()] =
          entry.is_directory() ? "/" : readWhole(entry) + (writable ? "" : "!");
  }
  return tree;
}

// One run after another on the same tree. Visible files and, with /s, the
// subfolders that hold some (with /E all) are copied, over older copies
// (names ignore case) and into folders the copy makes; a folder link is not
// entered again from inside where it leads, the names no Windows path spells
// are left out; the copies are writable and keep their source's time.
// Failures give their exit codes, list nothing before a copy and make
// nothing.
TEST_F(XcopyTree, RunsGiveTheirCopiesListAndExitCode) {
  ws.writeFile(R"(c:\blocco)", "a file");
  const std::string all = kProgListed + kSubListed + "6 File(s) copied\n";
  const std::string topListed = kProgListed + "3 File(s) copied\n", none = "0 File(s) copied\n";
  const Tree top = {{"A.ini", "[A]\r\n"}, {"sola.txt", "read only"}, {"zepo.exe", "MZ program"}};
  Tree prog = {{"giro/leggimi.txt", "read me"}, {"sub/b.txt", "b"}, {"sub/deep/c.bin", "c\0\xff"s}};
  prog.insert(top.begin(), top.end());
  Tree over = prog, everything = prog;
  over["A.INI"] = over.extract("A.ini").mapped();
  everything.merge(Tree{{"vuota", "/"}, {"solonascosti", "/"}, {"giro/dati/vuota", "/"}});
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    Tree copied = {};  // what the destination then holds
  };
  const std::string from = R"(\\SRV1\zepo\prog\*.*)";
  const Case cases[] = {
      {{from, R"(c:\zepo\prog\*.*)", "/s"}, 0, all, over},
      {{from, R"(c:\zepo\prog\*.*)", "/s"}, 0, all, over},  // over its own copies
      {{R"(\\SRV1\zepo\prog)", R"(c:\nuova\cartella\prog)"}, 0, topListed, top},
      {{from, R"(c:\tutto)", "/E"}, 0, all, everything},
      {{R"(\\SRV1\zepo\dati\*.*)", R"(c:\x\*.*)", "/S"}, 1, none},
      {{R"(\\SRV2\zepo\prog\*.*)", R"(c:\x\*.*)", "/s"}, 4, ""},        // no server
      {{R"(\\SRV1\zepo\manca\*.*)", R"(c:\x\*.*)", "/s"}, 4, ""},       // no folder
      {{R"(\\SRV1\zepo\dati)", "C\\*.*", R"(c:\x\*.*)", "/s"}, 4, ""},  // a blank
      {{}, 4, ""},
      {{from, R"(c:\x\*.*)", "/z"}, 4, ""},
      {{from, R"(\\SRV1\zepo\prog\sub)", "/s"}, 4, ""},  // into itself
      // A file where a folder is needed.
      {{from, R"(c:\blocco\prog\*.*)", "/s"}, 5, none},
  };
  for (const Case& c : cases) {
    const auto [exitCode, out, err] = xcopy(ws, c.args);
    const std::string why = ::testing::PrintToString(c.args) + err;
    EXPECT_EQ(exitCode, c.exitCode) << why;
    EXPECT_EQ(out, c.out) << why;
    if (c.exitCode == 0) {
      const std::string to = c.args[1].substr(0, c.args[1].find("\\*"));
      EXPECT_EQ(treeOf(ws.hostPath(to)), c.copied) << why;
    }
  }
  EXPECT_FALSE(ws.exists("c:\\x"));
  EXPECT_EQ(ws.readFile(R"(c:\blocco)"), "a file");
  for (const char* file : {R"(c:\zepo\prog\zepo.exe)", R"(c:\tutto\sub\deep\c.bin)"})
    EXPECT_EQ(fs::last_write_time(ws.hostPath(file)), longAgo) << file;
}

// Folders of files where a large one comes first, so that the small ones
// after it are done before it, and names that differ in case only, which are
// one file where the destination folder was there already. Copied eight at
// once, they are told as one at a time tells them, with its exit code, also
// when a file cannot be written; a whole copy is the same.
TEST_F(XcopyTree, ManyFilesAtOnceAreToldAndCopiedAsOneAfterAnother) {
  const std::string many = ws.hostPath(R"(\\SRV1\zepo\prog)") + "/molti/";
  for (const std::string folder : {"a", "b", "c"}) {
    fs::create_directories(many + folder);
    for (int i = 0; i < 25; ++i) {
      const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
      std::ofstream(many + folder + "/f" + n + ".txt") << std::string(i == 0 ? 4 << 20 : 100, 'x');
      if (i < 10) std::ofstream(many + folder + "/D" + n + ".TXT") << folder << "upper" << n;
      if (i < 10) std::ofstream(many + folder + "/d" + n + ".txt") << folder << "lower" << n;
    }
  }
  const std::string old = ws.hostPath(R"(c:\zepo\prog)");
  for (bool writable : {true, false}) {
    std::vector<std::tuple<int, std::string, std::string, Tree>> runs;
    for (const char* threads : {"1", "8"}) {
      fs::remove_all(old);
      for (const char* folder : {"/molti/a", "/molti/b", "/molti/c"})
        fs::create_directories(old + folder);
      std::ofstream(old + "/zepo.exe") << "old version";
      std::ofstream(old + "/molti/b/f07.txt") << "old";
      if (!writable)
        fs::permissions(old + "/molti/b/f07.txt", fs::perms::owner_write, fs::perm_options::remove);
      // A failed copy leaves later files that were being copied meanwhile;
      // they are not told.
      runs.push_back(std::tuple_cat(
          xcopy(ws, {R"(\\SRV1\zepo\prog\*.*)", R"(c:\zepo\prog\*.*)", "/s"}, threads),
          std::make_tuple(writable ? treeOf(old) : Tree())));
    }
    EXPECT_EQ(std::get<0>(runs[0]), writable ? 0 : 5) << std::get<2>(runs[0]);
    EXPECT_EQ(runs[1], runs[0]);
  }
}

}  // namespace
}  // namespace zepo
