#include "install/hosts_services.h"

#include <gtest/gtest.h>

#include "install/install_test_fixture.h"
#include "platform/errors.h"
#include "platform/forwarding_platform.h"

namespace zepo::testing {
namespace {

const char* const kServices = "echo\t7/tcp\r\nftp\t21/tcp\r\n";
const char* const kServicesLine = "crserver\t5000/tcp\t#database client\r\n";
const char* const kHostsLine = "10.0.0.5\tSRV1\r\n";

class HostsServiziTest : public InstallTest {
 protected:
  HostsServiziTest() { ws.writeFile(etc + "\\services", kServices); }
  std::string hosts() { return ws.readFile(etc + "\\hosts"); }
  std::string services() { return ws.readFile(etc + "\\services"); }
  void run() { AggiornaHostsServizi(app, etc); }
};

TEST_F(HostsServiziTest, AddsTheServerLineWhenNoLineNamesIt) {
  // The last line has no line end; a server name in other letter case names
  // another host.
  ws.writeFile(etc + "\\hosts", "127.0.0.1\tlocalhost\r\n# zepo\r\n10.0.0.5\tsrv1");
  run();
  EXPECT_EQ(hosts(),
            std::string("127.0.0.1\tlocalhost\r\n# zepo\r\n10.0.0.5\tsrv1\r\n") + kHostsLine);
  EXPECT_FALSE(ws.exists(etc + "\\hosts.bak"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostsServiziTest, ReplacesEveryLineNamingTheServerInPlace) {
  ws.writeFile(etc + "\\hosts",
               "127.0.0.1 localhost\n"
               "# SRV1 is the data server\n"
               "192.168.1.9 SRV1\n"
               "192.168.1.10 SRV10\n"
               "10.0.0.7 srv1\n");
  run();
  EXPECT_EQ(hosts(), std::string("127.0.0.1 localhost\r\n") + kHostsLine + kHostsLine + kHostsLine +
                         "10.0.0.7 srv1\r\n");
  EXPECT_FALSE(ws.exists(etc + "\\hosts.bak"));
}

TEST_F(HostsServiziTest, LeavesHostsAloneWhenTheExactLineIsThere) {
  // A line naming the server before the exact one is not rewritten either,
  // and a companion file left by an earlier run goes.
  const std::string original = "192.168.1.9 SRV1\n10.0.0.5\tSRV1\nlast";
  ws.writeFile(etc + "\\hosts", original);
  ws.writeFile(etc + "\\hosts.bak", "stale");
  run();
  EXPECT_EQ(hosts(), original);
  EXPECT_FALSE(ws.exists(etc + "\\hosts.bak"));
  // The services part still runs.
  EXPECT_EQ(services(), std::string(kServices) + kServicesLine);
}

TEST_F(HostsServiziTest, StartsFromTheSampleWhenHostsIsMissing) {
  ws.platform().deleteFile(etc + "\\hosts");
  ws.writeFile(etc + "\\hosts.sam", "127.0.0.1 localhost\r\n");
  run();
  EXPECT_EQ(hosts(), std::string("127.0.0.1 localhost\r\n") + kHostsLine);
  EXPECT_EQ(ws.readFile(etc + "\\hosts.sam"), "127.0.0.1 localhost\r\n");
}

TEST_F(HostsServiziTest, NoHostsAndNoSampleShowsOneMessageAndSkipsServices) {
  ws.platform().deleteFile(etc + "\\hosts");
  if (ws.exists(etc + "\\hosts.sam")) ws.platform().deleteFile(etc + "\\hosts.sam");
  run();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].prompt, "Errore durante l'agg. dei file di sistema");
  EXPECT_EQ(ui.messages[0].buttons, 16);
  EXPECT_EQ(ui.messages[0].title, "");
  EXPECT_FALSE(ws.exists(etc + "\\hosts"));
  EXPECT_EQ(services(), kServices);
  EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
}

TEST_F(HostsServiziTest, HiddenOrSystemHostsStaysAsItIsWithTheMessage) {
  // The listing does not see it, and the sample may not be copied over it.
  for (int bits : {int{kAttrHidden}, kAttrHidden | kAttrSystem}) {
    ws.writeFile(etc + "\\hosts", "10.1.1.1 mine\r\n");
    ws.setHidden(etc + "\\hosts", bits);
    ui.messages.clear();
    run();
    EXPECT_EQ(ui.prompts(), std::vector<std::string>{"Errore durante l'agg. dei file di sistema"})
        << bits;
    EXPECT_EQ(hosts(), "10.1.1.1 mine\r\n") << bits;
    EXPECT_EQ(ws.platform().getAttributes(etc + "\\hosts"), bits);
  }
}

TEST_F(HostsServiziTest, ServicesGainTheLineUnlessSomeLineSaysCriteria) {
  ws.writeFile(etc + "\\hosts", kHostsLine);

  // "criteria" anywhere, a comment included, keeps the file as it is.
  const std::string withWord = "echo 7/tcp\ncrdb 6000/tcp # criteria\nftp 21/tcp";
  ws.writeFile(etc + "\\services", withWord);
  run();
  EXPECT_EQ(services(), withWord);
  EXPECT_FALSE(ws.exists(etc + "\\services.bak"));

  // The word is looked for as written.
  ws.writeFile(etc + "\\services", "crdb\t6000/tcp\t# Criteria\r\n");
  run();
  EXPECT_EQ(services(), std::string("crdb\t6000/tcp\t# Criteria\r\n") + kServicesLine);
  EXPECT_FALSE(ws.exists(etc + "\\services.bak"));

  // Without a SERV section the line is two TABs.
  ws.writeFile(kSettings, "[HOST]\r\nHostIP=10.0.0.5\r\n");
  ws.writeFile(etc + "\\services", kServices);
  run();
  EXPECT_EQ(services(), std::string(kServices) + "\t\t\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostsServiziTest, MissingServicesIsReportedAfterHostsIsDone) {
  ws.writeFile(etc + "\\hosts", "127.0.0.1 localhost\r\n");
  ws.platform().deleteFile(etc + "\\services");
  run();
  EXPECT_EQ(ui.prompts(), std::vector<std::string>{"Errore durante l'agg. dei file di sistema"});
  EXPECT_EQ(hosts(), std::string("127.0.0.1 localhost\r\n") + kHostsLine);
  EXPECT_FALSE(ws.exists(etc + "\\services"));
  EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
}

// Fails the chosen operation on the hosts files with "Autorizzazione
// negata", or the second line written with "Disco pieno".
class FaultyPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  bool failRename = false;
  bool failDelete = false;
  bool failSecondWrite = false;

  void renameFile(const std::string& oldPath, const std::string& newPath) override {
    if (failRename && oldPath.ends_with("\\hosts.bak")) throw RuntimeError(kErrPermissionDenied);
    ForwardingPlatform::renameFile(oldPath, newPath);
  }
  void deleteFile(const std::string& path) override {
    if (failDelete && path.ends_with("\\hosts")) throw RuntimeError(kErrPermissionDenied);
    ForwardingPlatform::deleteFile(path);
  }
  void writeLine(int fileNumber, const std::string& text) override {
    if (failSecondWrite && ++writes_ == 2) throw RuntimeError(kErrDiskFull);
    ForwardingPlatform::writeLine(fileNumber, text);
  }

 private:
  int writes_ = 0;
};

class HostsServiziFaultTest : public HostsServiziTest {
 protected:
  HostsServiziFaultTest() { ws.writeFile(etc + "\\hosts", "127.0.0.1 localhost\r\n"); }
  void runFaulty() {
    Installer faultyApp{faulty, ui};
    faultyApp.frmMain = app.frmMain;
    AggiornaHostsServizi(faultyApp, etc);
    // One message, and the file numbers are free again.
    EXPECT_EQ(ui.prompts(), std::vector<std::string>{"Errore durante l'agg. dei file di sistema"});
    EXPECT_NO_THROW(ws.platform().openText(1, etc + "\\services", TextMode::kInput));
    EXPECT_NO_THROW(ws.platform().openText(2, etc + "\\probe.txt", TextMode::kOutput));
    ws.platform().closeFile(1);
    ws.platform().closeFile(2);
    // Nothing of the services part ran.
    EXPECT_EQ(services(), kServices);
    EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
  }
  FaultyPlatform faulty{ws.platform()};
};

TEST_F(HostsServiziFaultTest, FailingRenameLeavesTheNewHostsInTheCompanion) {
  faulty.failRename = true;
  runFaulty();
  EXPECT_FALSE(ws.exists(etc + "\\hosts"));
  EXPECT_EQ(ws.readFile(etc + "\\hosts.bak"), std::string("127.0.0.1 localhost\r\n") + kHostsLine);
}

TEST_F(HostsServiziFaultTest, FailingDeleteKeepsTheOldHosts) {
  faulty.failDelete = true;
  runFaulty();
  EXPECT_EQ(hosts(), "127.0.0.1 localhost\r\n");
  EXPECT_EQ(ws.readFile(etc + "\\hosts.bak"), std::string("127.0.0.1 localhost\r\n") + kHostsLine);
}

TEST_F(HostsServiziFaultTest, FailingWriteLeavesPartOfTheNewContents) {
  faulty.failSecondWrite = true;
  runFaulty();
  EXPECT_EQ(hosts(), "127.0.0.1 localhost\r\n");
  EXPECT_EQ(ws.readFile(etc + "\\hosts.bak"), "127.0.0.1 localhost\r\n");
}

}  // namespace
}  // namespace zepo::testing
