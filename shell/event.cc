#include "shell/event.h"

#include "platform/errors.h"

namespace zepo {

std::optional<int> runEventProcedure(Installer& app,
                                     const std::function<void(Installer&)>& procedure) {
  try {
    procedure(app);
    return std::nullopt;
  } catch (const InstallerEnd&) {
    return 0;
  } catch (const RuntimeError& error) {
    app.ui.msgBox(runtimeErrorPrompt(error), kMbCritical, app.platform.appTitle());
    return 1;
  }
}

}  // namespace zepo
