#include "shell/event.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "tests/scripted_ui.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

TEST(EventProcedureTest, UncaughtErrorsAndTheEndStopTheInstaller) {
  TestWorkstation ws;
  ScriptedUi ui;
  Installer app(ws.platform(), ui);

  EXPECT_EQ(runEventProcedure(app, [](Installer&) {}), std::nullopt);
  EXPECT_EQ(runEventProcedure(app, [](Installer&) { endInstaller(); }), 0);
  EXPECT_TRUE(ui.messages.empty());

  EXPECT_EQ(runEventProcedure(app, [](Installer& a) { a.platform.deleteFile("c:\\nessuno.txt"); }),
            1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].prompt, "Errore di run-time '53':\r\n\r\nImpossibile trovare il file");
  EXPECT_EQ(ui.messages[0].buttons, 16);
  EXPECT_EQ(ui.messages[0].title, "clientZEPO");
}

TEST(EventProcedureTest, WhateverIsThrownEndsInTheErrorBox) {
  TestWorkstation ws;
  ScriptedUi ui;
  Installer app(ws.platform(), ui);
  struct Case {
    std::function<void(Installer&)> procedure;
    const char* prompt;
  };
  const Case cases[] = {
      {[](Installer&) { throw std::bad_alloc(); },
       "Errore di run-time '7':\r\n\r\nMemoria esaurita"},
      {[](Installer&) { throw std::out_of_range("stod"); },
       "Errore di run-time '51':\r\n\r\nErrore interno"},
      {[](Installer&) { throw 42; }, "Errore di run-time '51':\r\n\r\nErrore interno"},
  };
  for (const Case& c : cases) {
    ui.messages.clear();
    EXPECT_EQ(runEventProcedure(app, c.procedure), 1);
    EXPECT_EQ(ui.prompts(), std::vector<std::string>{c.prompt});
  }
}

TEST(StartTest, WhateverFailsBeforeTheWindowsIsToldAndEndsWithTwo) {
  std::vector<std::string> told;
  auto tell = [&](const std::string& text) { told.push_back(text); };
  struct Case {
    std::function<int()> start;
    int exitCode;
    std::string told;  // "" for nothing told
  };
  const Case cases[] = {
      {[] { return 0; }, 0, ""},
      {[] { return 1; }, 1, ""},
      {[]() -> int { endInstaller(); }, 0, ""},
      {[]() -> int { throw std::runtime_error("platform.ini:3: why"); }, 2, "platform.ini:3: why"},
      {[]() -> int { throw RuntimeError(kErrPathNotFound); }, 2,
       "Errore di run-time '76':\r\n\r\nImpossibile trovare il percorso"},
      {[]() -> int { throw std::bad_alloc(); }, 2,
       "Errore di run-time '7':\r\n\r\nMemoria esaurita"},
      {[]() -> int { throw std::out_of_range("stof"); }, 2,
       "Errore di run-time '51':\r\n\r\nErrore interno"},
  };
  for (const Case& c : cases) {
    told.clear();
    EXPECT_EQ(runStart(c.start, tell), c.exitCode) << c.told;
    EXPECT_EQ(told, c.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.told});
  }
}

}  // namespace
}  // namespace zepo
