#include "install/hosts_services.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "install/install_test_fixture.h"
#include "platform/errors.h"
#include "tests/fault_platform.h"

namespace zepo::testing {
namespace {

const char* const kServices = "echo\t7/tcp\r\nftp\t21/tcp\r\n";
const char* const kServicesLine = "crserver\t5000/tcp\t#database client\r\n";
const char* const kHostsLine = "10.0.0.5\tSRV1\r\n";
const char* const kTrap = "Errore durante l'agg. dei file di sistema";

class HostsServiziTest : public InstallTest {
 protected:
  HostsServiziTest() { ws.writeFile(etc + "\\services", kServices); }
  std::string hosts() { return ws.readFile(etc + "\\hosts"); }
  std::string services() { return ws.readFile(etc + "\\services"); }
  void remove(const std::string& name) { std::filesystem::remove(ws.hostPath(etc + name)); }
};

TEST_F(HostsServiziTest, HostsGainsOrReplacesTheServerLine) {
  struct Case {
    const char* hosts;  // nullptr: missing
    const char* sample;
    int attributes;
    std::string expected;  // "" : as it was, with the message
  };
  const std::string line = kHostsLine;
  const Case cases[] = {
      // The last line has no line end; other letter case names another host.
      {"127.0.0.1\tlocalhost\r\n# zepo\r\n10.0.0.5\tsrv1", nullptr, 0,
       "127.0.0.1\tlocalhost\r\n# zepo\r\n10.0.0.5\tsrv1\r\n" + line},
      // Every line naming the server is replaced in place.
      {"127.0.0.1 localhost\n# SRV1 is the data server\n192.168.1.9 SRV1\n192.168.1.10 SRV10\n"
       "10.0.0.7 srv1\n",
       nullptr, 0, "127.0.0.1 localhost\r\n" + line + line + line + "10.0.0.7 srv1\r\n"},
      // The exact line is there: nothing is rewritten, not even a line before it.
      {"192.168.1.9 SRV1\n10.0.0.5\tSRV1\nlast", nullptr, 0,
       "192.168.1.9 SRV1\n10.0.0.5\tSRV1\nlast"},
      {nullptr, "127.0.0.1 localhost\r\n", 0, "127.0.0.1 localhost\r\n" + line},
      {nullptr, nullptr, 0, ""},
      // The listing does not see it, and the sample may not be copied over it.
      {"10.1.1.1 mine\r\n", "sample\r\n", kAttrHidden, ""},
      {"10.1.1.1 mine\r\n", "sample\r\n", kAttrSystem, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hosts ? c.hosts : c.sample ? "sample" : "neither");
    remove("\\hosts");
    remove("\\hosts.sam");
    if (c.hosts) ws.writeFile(etc + "\\hosts", c.hosts);
    if (c.attributes) ws.setHidden(etc + "\\hosts", c.attributes);
    if (c.sample) ws.writeFile(etc + "\\hosts.sam", c.sample);
    ws.writeFile(etc + "\\hosts.bak", "stale");  // left by an earlier run
    ws.writeFile(etc + "\\services", kServices);
    ui.messages.clear();
    AggiornaHostsServizi(app, etc);
    if (c.expected.empty()) {
      // One message, and the services part does not run.
      EXPECT_EQ(ui.prompts(), std::vector<std::string>{kTrap});
      EXPECT_EQ(ws.exists(etc + "\\hosts"), c.hosts != nullptr);
      if (c.hosts) {
        EXPECT_EQ(hosts(), c.hosts);
      }
      EXPECT_EQ(services(), kServices);
      EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
      continue;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(hosts(), c.expected);
    EXPECT_FALSE(ws.exists(etc + "\\hosts.bak"));
    if (c.sample) {
      EXPECT_EQ(ws.readFile(etc + "\\hosts.sam"), c.sample);
    }
    EXPECT_EQ(services(), std::string(kServices) + kServicesLine);
  }
}

TEST_F(HostsServiziTest, ServicesGainTheLineUnlessSomeLineSaysCriteria) {
  ws.writeFile(etc + "\\hosts", kHostsLine);
  const std::string line = kServicesLine;
  struct Case {
    const char* services;  // nullptr: missing
    std::string expected;  // "": missing, with the message
  };
  const Case cases[] = {
      // "criteria" anywhere, a comment included, keeps the file as it is.
      {"echo 7/tcp\ncrdb 6000/tcp # criteria\nftp 21/tcp",
       "echo 7/tcp\ncrdb 6000/tcp # criteria\nftp 21/tcp"},
      // The word is looked for as written.
      {"crdb\t6000/tcp\t# Criteria\r\n", "crdb\t6000/tcp\t# Criteria\r\n" + line},
      {nullptr, ""},
  };
  for (const Case& c : cases) {
    remove("\\services");
    if (c.services) ws.writeFile(etc + "\\services", c.services);
    ui.messages.clear();
    AggiornaHostsServizi(app, etc);
    EXPECT_EQ(ui.messages.size(), c.expected.empty() ? 1u : 0u);
    if (!c.expected.empty()) {
      EXPECT_EQ(services(), c.expected);
    }
    EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
    EXPECT_EQ(hosts(), kHostsLine);
  }
  // Without a SERV section the line is two TABs.
  ws.writeFile(kSettings, "[HOST]\r\nHostIP=10.0.0.5\r\n");
  ws.writeFile(etc + "\\services", kServices);
  AggiornaHostsServizi(app, etc);
  EXPECT_EQ(services(), std::string(kServices) + "\t\t\r\n");
}

TEST_F(HostsServiziTest, AFailingStepOfHostsGivesTheMessageAndFreesTheFiles) {
  const std::string old = "127.0.0.1 localhost\r\n";
  const std::string updated = old + kHostsLine;
  struct Case {
    FaultPlatform::Rule rule;
    const char* hosts;  // nullptr: missing
    std::string bak;
  };
  const Case cases[] = {
      {FaultPlatform::fail("renameFile", kErrPermissionDenied, "\\hosts.bak,"), nullptr, updated},
      {FaultPlatform::fail("deleteFile", kErrPermissionDenied, "\\hosts)"), old.c_str(), updated},
      {FaultPlatform::fail("writeLine", kErrDiskFull, "", 2), old.c_str(), old},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule.operation);
    ws.writeFile(etc + "\\hosts", old);
    FaultPlatform faulty{ws.platform()};
    faulty.rules = {c.rule};
    Installer faultyApp{faulty, ui};
    faultyApp.frmMain = app.frmMain;
    ui.messages.clear();
    AggiornaHostsServizi(faultyApp, etc);
    EXPECT_EQ(ui.prompts(), std::vector<std::string>{kTrap});
    EXPECT_EQ(ws.exists(etc + "\\hosts"), c.hosts != nullptr);
    if (c.hosts) {
      EXPECT_EQ(hosts(), c.hosts);
    }
    EXPECT_EQ(ws.readFile(etc + "\\hosts.bak"), c.bak);
    // The file numbers are free again, and nothing of the services part ran.
    EXPECT_NO_THROW(ws.platform().openText(1, etc + "\\services", TextMode::kInput));
    EXPECT_NO_THROW(ws.platform().openText(2, etc + "\\probe.txt", TextMode::kOutput));
    ws.platform().closeFile(1);
    ws.platform().closeFile(2);
    EXPECT_EQ(services(), kServices);
    EXPECT_FALSE(ws.exists(etc + "\\services.bak"));
    remove("\\hosts.bak");
  }
}

}  // namespace
}  // namespace zepo::testing
