// What the test workstation needs from Windows beyond the Platform
// interface: drives and shares made on the fly, which only Wine allows (its
// drives are links in the prefix's dosdevices folder, its shares folders in
// dosdevices/unc), file attributes and the raw bytes of files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zepo::win32 {

// The Linux path of a Windows path under Wine; nullopt on a real Windows
// system (or for a path that Wine cannot map).
std::optional<std::string> wineUnixPath(const std::string& windowsPath);

// The Windows path of Wine's dosdevices folder ("Z:\...\dosdevices");
// nullopt on a real Windows system.
std::optional<std::string> wineDosDevices();

// Makes drive `letter` the Linux folder `unixFolder` with the volume label
// `label`, through Wine's mount manager (as winecfg does); with an empty
// folder, removes the drive. Returns false when it failed.
bool wineDefineDrive(char letter, const std::string& unixFolder, const std::string& label);

// The registry as the installer sees it (the 32-bit view): a string value,
// as Windows-1252 bytes, or nullopt when the key or the value is missing;
// whether a key exists; removing a key and everything below it. `root` is
// one of the installer's 32-bit root handles (kHkeyCurrentUser...).
std::optional<std::string> registryString(std::uint32_t root, const std::string& subKey,
                                          const std::string& valueName);
bool registryKeyExists(std::uint32_t root, const std::string& subKey);
void removeRegistryTree(std::uint32_t root, const std::string& subKey);

// Adds `bits` (2 hidden, 4 system, 1 read-only) to the file's attributes.
bool addAttributes(const std::string& windowsPath, int bits);

// Writes the bytes to a file, replacing its contents but keeping its
// attributes (hidden, system), as writing an existing file on Linux does;
// reads a whole file (nullopt
// when it cannot be read); makes one folder (true when it exists after).
bool writeBytes(const std::string& windowsPath, const std::string& bytes);
std::optional<std::string> readBytes(const std::string& windowsPath);
bool makeFolder(const std::string& windowsPath);
bool exists(const std::string& windowsPath);
// Removes a file or a folder with everything in it, whatever its attributes.
void removeEntry(const std::string& windowsPath);

struct FolderEntry {
  std::string name;
  bool folder = false;
};
// Every entry of a folder, hidden and system ones too, but "." and "..".
std::vector<FolderEntry> folderEntries(const std::string& windowsPath);

}  // namespace zepo::win32
