// make-prefix: opens the prefix folder given on the command line (or the
// default one, $ZEPO_PREFIX and so on), laying out the default workstation
// when the folder is new, and prints the folder. Scripts use it to start a
// workstation of their own before adding drives and shares to it.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/linux_platform.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: make-prefix [FOLDER]\n");
    return 2;
  }
  std::string dir;
  try {
    dir = argc == 2 ? argv[1] : zepo::LinuxPlatform::defaultPrefixDir();
    zepo::LinuxPlatform platform(dir);
    std::printf("%s\n", platform.prefixDir().c_str());
  } catch (const std::runtime_error& error) {
    // A workstation file that cannot be read or is malformed: the message
    // names the file and the line.
    std::fprintf(stderr, "make-prefix: %s\n", error.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-prefix: %s: cannot be opened (%s)\n", dir.c_str(), error.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "make-prefix: %s: cannot be opened\n", dir.c_str());
    return 1;
  }
  return 0;
}
