#include "shell/event.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zepo
