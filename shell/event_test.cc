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

// What ends a procedure: the event runner's exit code and error box, and
// the exit code and message of the guarded start, before the windows.
TEST(EventProcedureTest, WhateverIsThrownEndsInTheErrorBoxOrBeforeTheWindowsWithTwo) {
  TestWorkstation ws;
  const char* const internal = "Errore di run-time '51':\r\n\r\nErrore interno";
  struct Case {
    std::function<void()> procedure;
    std::optional<int> eventExit;
    const char* box;  // nullptr: no box
    int startExit;    // a start that goes on gives its own, 1
    const char* told;
  };
  const Case cases[] = {
      {[] {}, std::nullopt, nullptr, 1, nullptr},
      {[] { endInstaller(); }, 0, nullptr, 0, nullptr},
      {[] { throw RuntimeError(kErrFileNotFound); }, 1,
       "Errore di run-time '53':\r\n\r\nImpossibile trovare il file", 2,
       "Errore di run-time '53':\r\n\r\nImpossibile trovare il file"},
      {[] { throw std::bad_alloc(); }, 1, "Errore di run-time '7':\r\n\r\nMemoria esaurita", 2,
       "Errore di run-time '7':\r\n\r\nMemoria esaurita"},
      {[] { throw std::out_of_range("stod"); }, 1, internal, 2, internal},
      {[] { throw 42; }, 1, internal, 2, internal},
      // A malformed workstation file: its message names the file and line.
      {[] { throw std::runtime_error("platform.ini:3: why"); }, 1, internal, 2,
       "platform.ini:3: why"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told ? c.told : "no message");
    ScriptedUi ui;
    Installer app(ws.platform(), ui);
    EXPECT_EQ(runEventProcedure(app, [&](Installer&) { c.procedure(); }), c.eventExit);
    std::vector<ScriptedUi::Message> boxes;
    if (c.box) boxes.push_back({c.box, kMbCritical, "clientZEPO"});
    EXPECT_EQ(ui.messages, boxes);
    std::vector<std::string> told;
    auto start = [&] {
      c.procedure();
      return 1;
    };
    EXPECT_EQ(runStart(start, [&](const std::string& text) { told.push_back(text); }), c.startExit);
    EXPECT_EQ(told, c.told ? std::vector<std::string>{c.told} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace zepo
