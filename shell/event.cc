#include "shell/event.h"

#include <new>
#include <stdexcept>

namespace zepo {

RuntimeError runtimeErrorOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(kErrOutOfMemory);
  } catch (...) {
    // A failure that no procedure of the installer foresees: the process
    // must still end through the error box, never abort half-way.
    return RuntimeError(kErrInternal);
  }
}

std::optional<int> runEventProcedure(Installer& app,
                                     const std::function<void(Installer&)>& procedure) {
  try {
    procedure(app);
    return std::nullopt;
  } catch (const InstallerEnd&) {
    return 0;
  } catch (...) {
    RuntimeError error = runtimeErrorOf(std::current_exception());
    app.ui.msgBox(runtimeErrorPrompt(error), kMbCritical, app.platform.appTitle());
    return 1;
  }
}

int runStart(const std::function<int()>& start,
             const std::function<void(const std::string&)>& tell) {
  try {
    return start();
  } catch (const InstallerEnd&) {
    return 0;
  } catch (const std::runtime_error& error) {
    // A workstation file that cannot be read or is malformed: its message
    // names the file and the line.
    tell(error.what());
  } catch (...) {
    tell(runtimeErrorPrompt(runtimeErrorOf(std::current_exception())));
  }
  return kStartFailed;
}

}  // namespace zepo
