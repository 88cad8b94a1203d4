#include "install/command_runner.h"

namespace zepo {

std::int32_t EseguiComando(Platform& platform, const std::string& Comando) {
  StartupInfo startupInfo;
  startupInfo.cb = 68;
  ProcessInformation processInformation{};
  // The result is not tested: a program that did not start leaves the
  // handles zero, the wait on them fails, and that failure is the result.
  platform.CreateProcessA(Comando, true, kNormalPriorityClass, startupInfo, processInformation);
  // One variable takes the wait's result and then the exit code, so that an
  // exit code that cannot be read leaves the wait's result (0xFFFFFFFF, that
  // is -1, after a failed start).
  auto risultato = static_cast<std::int32_t>(
      platform.WaitForSingleObject(processInformation.hProcess, kInfinite));
  platform.GetExitCodeProcess(processInformation.hProcess, risultato);
  platform.CloseHandle(processInformation.hThread);
  platform.CloseHandle(processInformation.hProcess);
  return risultato;
}

void CopiaCartella(Platform& platform, const std::string& Sorgente,
                   const std::string& Destinazione) {
  // No quotes: a path with a blank reaches xcopy as several words.
  EseguiComando(platform, "xcopy " + Sorgente + "\\*.* " + Destinazione + "\\*.* /s ");
}

}  // namespace zepo
