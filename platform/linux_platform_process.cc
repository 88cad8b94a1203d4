// The process runner of LinuxPlatform: CreateProcessA, WaitForSingleObject,
// GetExitCodeProcess and CloseHandle on posix_spawn and waitpid.
//
// What the Windows functions promise and how it is kept here:
// - The command line is split by the Windows rules (platform/command_line.h)
//   and handed to the program as its arguments; no shell is involved.
// - The program named by the first argument is looked for in the folder of
//   the running executable, then along PATH; a name holding a '/' is taken as
//   a path as it stands.
// - The child inherits the environment, with ZEPO_PREFIX naming this
//   platform's prefix (so that a started xcopy works on the same
//   workstation), the current folder and the standard handles. Handle
//   inheritance and creation flags (priority classes, console flags) have no
//   Linux counterpart and are accepted and ignored.
// - One start gives two handles, a process handle and a thread handle; both
//   can be waited on and read, and the child is released when both are
//   closed. Closing them does not stop the child.
// - Exit codes are those of waitpid: 0 to 255 for a program that ended by
//   itself, 128 + the signal number for one that a signal ended (the
//   shells' convention). A child still running reads as STILL_ACTIVE (259).
#include "platform/linux_platform_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/linux_platform.h"

extern char** environ;

namespace zepo {

namespace {

constexpr std::uint32_t kWaitTimeout = 0x102;
constexpr std::int32_t kStillActive = 259;

// Children whose handles were all closed while they still ran: reaped when
// the next child starts, so that they do not stay behind as zombies.
std::vector<pid_t>& abandonedChildren() {
  static std::vector<pid_t> pids;
  return pids;
}

void reapAbandonedChildren() {
  auto& pids = abandonedChildren();
  pids.erase(std::remove_if(pids.begin(), pids.end(),
                            [](pid_t pid) {
                              int status = 0;
                              pid_t r = waitpid(pid, &status, WNOHANG);
                              return r != 0;  // reaped, or no longer ours
                            }),
             pids.end());
}

bool isExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string ownExecutableFolder() {
  std::vector<char> buffer(PATH_MAX + 1);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "";
  std::string path(buffer.data(), static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash == 0 ? 1 : slash);
}

// The Linux path of the program `name`, or "" when there is none to start.
std::string findProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : "";
  std::vector<std::string> folders;
  if (std::string own = ownExecutableFolder(); !own.empty()) folders.push_back(own);
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = list.find(':', start);
    std::string folder = list.substr(start, colon == std::string::npos ? colon : colon - start);
    folders.push_back(folder.empty() ? "." : folder);  // an empty entry is the current folder
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  for (const std::string& folder : folders) {
    std::string candidate = folder + (folder.back() == '/' ? "" : "/") + name;
    if (isExecutableFile(candidate)) return candidate;
  }
  return "";
}

// The installer's environment with ZEPO_PREFIX set to `prefixDir`.
std::vector<std::string> childEnvironment(const std::string& prefixDir) {
  static const std::string kPrefixVariable = "ZEPO_PREFIX=";
  std::vector<std::string> env;
  for (char** entry = environ; entry && *entry; ++entry) {
    if (std::strncmp(*entry, kPrefixVariable.c_str(), kPrefixVariable.size()) != 0)
      env.emplace_back(*entry);
  }
  env.push_back(kPrefixVariable + prefixDir);
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (std::string& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

}  // namespace

struct LinuxChild {
  pid_t pid = 0;
  bool ended = false;
  // The exit status went to someone else (SIGCHLD ignored, say): the child
  // has ended but its exit code is unknown.
  bool statusLost = false;
  std::int32_t exitCode = 0;

  LinuxChild() = default;
  LinuxChild(const LinuxChild&) = delete;
  LinuxChild& operator=(const LinuxChild&) = delete;
  ~LinuxChild() {
    if (!update(false)) abandonedChildren().push_back(pid);
  }

  // Collects the exit status when the child has ended, waiting for it when
  // `block`; tells whether it has ended.
  bool update(bool block) {
    while (!ended) {
      int status = 0;
      pid_t r = waitpid(pid, &status, block ? 0 : WNOHANG);
      if (r == pid) {
        ended = true;
        if (WIFEXITED(status))
          exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
          exitCode = 128 + WTERMSIG(status);
      } else if (r == 0) {
        return false;
      } else if (errno != EINTR) {
        ended = true;
        statusLost = true;
      }
    }
    return true;
  }
};

bool LinuxPlatform::CreateProcessA(const std::string& commandLine, bool /*inheritHandles*/,
                                   std::uint32_t /*creationFlags*/,
                                   const StartupInfo& /*startupInfo*/,
                                   ProcessInformation& processInformation) {
  processInformation = ProcessInformation{};
  reapAbandonedChildren();

  std::vector<std::string> args = splitCommandLine(commandLine);
  if (args.empty()) return false;
  std::string program = findProgram(args[0]);
  if (program.empty()) return false;
  std::vector<std::string> env = childEnvironment(prefixDir());
  std::vector<char*> argv = pointers(args);
  std::vector<char*> envp = pointers(env);

  // The child starts with no blocked signals and the usual dispositions, even
  // if the installer blocks or ignores some (SIGPIPE, typically).
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGCHLD, SIGALRM, SIGUSR1, SIGUSR2,
                  SIGTSTP, SIGTTIN, SIGTTOU})
    sigaddset(&defaults, sig);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  int failure = posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  if (failure != 0) return false;

  auto child = std::make_shared<LinuxChild>();
  child->pid = pid;
  ProcessHandle processHandle = nextProcess_++;
  ProcessHandle threadHandle = nextProcess_++;
  processes_[processHandle] = std::make_unique<Process>(Process{child});
  processes_[threadHandle] = std::make_unique<Process>(Process{child});
  processInformation.hProcess = processHandle;
  processInformation.hThread = threadHandle;
  // The main thread of a Linux process has the process's own id.
  processInformation.dwProcessId = static_cast<std::uint32_t>(pid);
  processInformation.dwThreadId = static_cast<std::uint32_t>(pid);
  return true;
}

std::uint32_t LinuxPlatform::WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) {
  auto it = processes_.find(handle);
  if (it == processes_.end()) return kWaitFailed;
  LinuxChild& child = *it->second->child;
  if (milliseconds == kInfinite) {
    child.update(true);
    return kWaitObject0;
  }
  // A finite wait polls, sleeping a little longer each round (at most 20 ms).
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (child.update(false)) return kWaitObject0;
    auto now = Clock::now();
    if (now >= deadline) return kWaitTimeout;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

bool LinuxPlatform::GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) {
  auto it = processes_.find(handle);
  if (it == processes_.end()) return false;
  LinuxChild& child = *it->second->child;
  if (!child.update(false)) {
    exitCode = kStillActive;
    return true;
  }
  if (child.statusLost) return false;
  exitCode = child.exitCode;
  return true;
}

bool LinuxPlatform::CloseHandle(ProcessHandle handle) {
  return processes_.erase(handle) == 1;
}

}  // namespace zepo
