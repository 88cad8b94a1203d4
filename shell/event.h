// One event procedure run as the forms runtime runs it: the end of the
// installer, and any runtime error that no handler caught, end it; the
// error first shows the runtime's error box.
#pragma once

#include <functional>
#include <optional>

#include "shell/installer.h"

namespace zepo {

// Runs `procedure`; returns the installer's exit code when it ended (0 for
// the end operation, 1 after a runtime error), nothing when it goes on.
std::optional<int> runEventProcedure(Installer& app,
                                     const std::function<void(Installer&)>& procedure);

}  // namespace zepo
