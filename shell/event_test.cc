#include "shell/event.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "tests/scripted_ui.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

TEST(EventProcedureTest, WhateverIsThrownEndsInTheErrorBox) {
  TestWorkstation ws;
  struct Case {
    std::function<void(Installer&)> procedure;
    std::optional<int> exitCode;
    const char* prompt;  // nullptr: no box
  };
  const Case cases[] = {
      {[](Installer&) {}, std::nullopt, nullptr},
      {[](Installer&) { endInstaller(); }, 0, nullptr},
      {[](Installer& a) { a.platform.deleteFile("c:\\nessuno.txt"); }, 1,
       "Errore di run-time '53':\r\n\r\nImpossibile trovare il file"},
      {[](Installer&) { throw std::bad_alloc(); }, 1,
       "Errore di run-time '7':\r\n\r\nMemoria esaurita"},
      {[](Installer&) { throw std::out_of_range("stod"); }, 1,
       "Errore di run-time '51':\r\n\r\nErrore interno"},
      {[](Installer&) { throw 42; }, 1, "Errore di run-time '51':\r\n\r\nErrore interno"},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    Installer app(ws.platform(), ui);
    EXPECT_EQ(runEventProcedure(app, c.procedure), c.exitCode);
    std::vector<ScriptedUi::Message> boxes;
    if (c.prompt) boxes.push_back({c.prompt, kMbCritical, "clientZEPO"});
    EXPECT_EQ(ui.messages, boxes);
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
