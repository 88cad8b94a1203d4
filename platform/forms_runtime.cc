#include "platform/forms_runtime.h"

#include <algorithm>
#include <utility>

#include "platform/attribute_rules.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/line_reader.h"
#include "platform/windows_names.h"

namespace zepo {

namespace {

constexpr int kMaxFileNumber = 511;
// Text lines are gathered and written in blocks of this size.
constexpr std::size_t kOutputBlock = 64 * 1024;

}  // namespace

struct FormsRuntime::OpenFile {
  enum class Mode { kInput, kOutput, kBinary };

  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    // A file left open when the platform goes still gets its last lines.
    if (file && mode == Mode::kOutput && !contents.empty()) {
      try {
        file->write(contents);
      } catch (const RuntimeError&) {
      }
    }
  }

  Mode mode = Mode::kInput;
  std::unique_ptr<SystemFile> file;
  FileIdentity identity;
  std::unique_ptr<LineReader> lines;  // input: its lines, read from file
  std::string contents;               // output: bytes not yet written
  std::uint64_t position = 0;         // binary: the next byte
  bool writable = false;              // binary: opened for writing too
};

struct FormsRuntime::Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
  bool ended = false;  // the closing "" has been given
};

FormsRuntime::FormsRuntime() = default;
FormsRuntime::~FormsRuntime() = default;

// ---- listing ------------------------------------------------------------

std::string FormsRuntime::listFirst(const std::string& pathName, int attributes) {
  listing_ = std::make_unique<Listing>();
  const bool folders = (attributes & kAttrDirectory) != 0;
  FolderEntries folder = folderEntries(pathName, folders);
  const bool wildcard = hasWildcard(folder.pattern);
  std::vector<std::pair<std::string, std::string>> found;  // upper-case form, name
  for (Entry& entry : folder.entries) {
    if (entry.name == "." || entry.name == ".." || !isSpellableName(entry.name)) continue;
    if ((entry.attributes & (kAttrHidden | kAttrSystem)) != 0) continue;
    if ((entry.attributes & kAttrDirectory) != 0 && !folders) continue;
    // Windows also matches the short 8.3 names; the listing matches the
    // names themselves only.
    if (wildcard && !matchesPattern(folder.pattern, entry.name)) continue;
    found.emplace_back(upperName(entry.name), std::move(entry.name));
  }
  // A stable order on every file system: ordinal order of the upper-case
  // forms.
  std::sort(found.begin(), found.end());
  for (auto& [upper, name] : found) listing_->names.push_back(std::move(name));
  return listNext();
}

std::string FormsRuntime::listNext() {
  // As the runtime does, asking again after the end, or before any
  // listing, is an invalid call.
  if (!listing_ || listing_->ended) throw RuntimeError(kErrBadCall);
  if (listing_->next >= listing_->names.size()) {
    listing_->ended = true;
    return "";
  }
  return listing_->names[listing_->next++];
}

// ---- files and folders -----------------------------------------------------

int FormsRuntime::getAttributes(const std::string& path) {
  std::optional<int> attributes = entryAttributes(path);
  if (!attributes) throw RuntimeError(kErrFileNotFound);
  return *attributes;
}

void FormsRuntime::makeFolder(const std::string& path) {
  // Something of that name is there already: a path/file access error.
  if (entryAttributes(path)) throw RuntimeError(kErrPathFileAccess);
  createFolder(path);
}

void FormsRuntime::copyFile(const std::string& source, const std::string& destination) {
  std::optional<int> from = entryAttributes(source);
  if (!from) throw RuntimeError(kErrFileNotFound);
  if (*from & kAttrDirectory) throw RuntimeError(kErrPathFileAccess);
  if (isRoot(destination)) throw RuntimeError(kErrPathFileAccess);
  if (std::optional<int> to = entryAttributes(destination)) {
    // Copying a file onto itself is a sharing violation on Windows.
    if (fileIdentity(source) == fileIdentity(destination)) {
      throw RuntimeError(kErrPermissionDenied);
    }
    checkReplaceable(*to);
  }
  copyContents(source, destination);
}

void FormsRuntime::deleteFile(const std::string& path) {
  if (isRoot(path)) throw RuntimeError(kErrFileNotFound);
  std::optional<int> attributes = entryAttributes(path);
  // The runtime's delete looks for the file the way the listing does: it
  // never finds a folder, a hidden or a system file.
  if (!attributes || (*attributes & (kAttrDirectory | kAttrHidden | kAttrSystem)) != 0) {
    throw RuntimeError(kErrFileNotFound);
  }
  if (*attributes & kAttrReadOnly) throw RuntimeError(kErrPathFileAccess);
  removeFile(path);
}

void FormsRuntime::renameFile(const std::string& oldPath, const std::string& newPath) {
  if (isRoot(oldPath) || !entryAttributes(oldPath)) throw RuntimeError(kErrFileNotFound);
  if (isRoot(newPath)) throw RuntimeError(kErrPathFileAccess);
  // Only another spelling of the same file is no clash ("HOSTS. ", "c:/x",
  // ".\" and ".." among them): the file's identity says so, not its path.
  const bool taken = entryAttributes(newPath).has_value();
  const bool sameFile = taken && entryIdentity(oldPath) == entryIdentity(newPath);
  if (taken && !sameFile) throw RuntimeError(kErrFileAlreadyExists);
  moveFile(oldPath, newPath, sameFile);
}

// ---- text and binary files ----------------------------------------------

FormsRuntime::OpenFile& FormsRuntime::opened(int fileNumber) {
  auto it = files_.find(fileNumber);
  if (it == files_.end()) throw RuntimeError(kErrBadFileNameOrNumber);
  return *it->second;
}

void FormsRuntime::checkOpenable(const std::string& path, const std::optional<int>& attributes,
                                 bool forInput) {
  if (attributes && (*attributes & kAttrDirectory)) throw RuntimeError(kErrPathFileAccess);
  if (!attributes || files_.empty()) return;
  FileIdentity identity;
  try {
    identity = fileIdentity(path);
  } catch (const RuntimeError&) {
    return;  // not known: the opening itself says what is wrong
  }
  for (const auto& [number, other] : files_) {
    if (other->identity == identity && (!forInput || other->mode != OpenFile::Mode::kInput)) {
      throw RuntimeError(kErrFileAlreadyOpen);
    }
  }
}

void FormsRuntime::openText(int fileNumber, const std::string& path, TextMode mode) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  std::optional<int> attributes = entryAttributes(path);
  checkOpenable(path, attributes, mode == TextMode::kInput);
  auto record = std::make_unique<OpenFile>();
  if (mode == TextMode::kInput) {
    if (!attributes) throw RuntimeError(kErrFileNotFound);
    record->file = openFile(path, FileAccess::kRead);
    record->mode = OpenFile::Mode::kInput;
    SystemFile* file = record->file.get();
    record->lines = std::make_unique<LineReader>(
        [file](char* buffer, std::size_t size) { return file->read(buffer, size); });
  } else {
    if (attributes) checkReplaceable(*attributes);
    record->file = openFile(path, FileAccess::kReplace);
    record->mode = OpenFile::Mode::kOutput;
  }
  record->identity = record->file->identity();
  files_[fileNumber] = std::move(record);
}

std::string FormsRuntime::readLine(int fileNumber) {
  OpenFile& file = opened(fileNumber);
  if (file.mode != OpenFile::Mode::kInput) throw RuntimeError(kErrBadFileMode);
  return file.lines->readLine();
}

bool FormsRuntime::endOfFile(int fileNumber) {
  OpenFile& file = opened(fileNumber);
  switch (file.mode) {
    case OpenFile::Mode::kInput:
      return file.lines->atEnd();
    case OpenFile::Mode::kBinary:
      return static_cast<std::int64_t>(file.position) >= file.file->length();
    case OpenFile::Mode::kOutput:
      break;
  }
  throw RuntimeError(kErrBadFileMode);
}

void FormsRuntime::writeLine(int fileNumber, const std::string& text) {
  OpenFile& file = opened(fileNumber);
  if (file.mode != OpenFile::Mode::kOutput) throw RuntimeError(kErrBadFileMode);
  // Lines are gathered and written in blocks; closing writes the rest.
  if (isAscii(text)) {
    file.contents += text;
  } else {
    file.contents += toCodePage(text);
  }
  file.contents += "\r\n";
  if (file.contents.size() >= kOutputBlock) {
    std::string block;
    block.swap(file.contents);
    file.file->write(block);
  }
}

void FormsRuntime::closeFile(int fileNumber) {
  auto it = files_.find(fileNumber);
  if (it == files_.end()) return;
  std::unique_ptr<OpenFile> file = std::move(it->second);
  files_.erase(it);
  if (file->mode == OpenFile::Mode::kOutput && !file->contents.empty()) {
    std::string rest;
    rest.swap(file->contents);
    file->file->write(rest);  // a failure here (a full disk) is the close's
  }
}

void FormsRuntime::openBinary(int fileNumber, const std::string& path) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  std::optional<int> attributes = entryAttributes(path);
  checkOpenable(path, attributes, false);
  auto record = std::make_unique<OpenFile>();
  record->mode = OpenFile::Mode::kBinary;
  // As the runtime does, a file that cannot be written is opened for
  // reading only; a missing one is made.
  record->writable = !attributes || !(*attributes & kAttrReadOnly);
  if (record->writable) {
    record->file = openFile(path, attributes ? FileAccess::kUpdate : FileAccess::kCreate);
    record->writable = record->file != nullptr;
  }
  if (!record->writable) record->file = openFile(path, FileAccess::kRead);
  record->identity = record->file->identity();
  files_[fileNumber] = std::move(record);
}

std::int64_t FormsRuntime::fileLength(int fileNumber) {
  return opened(fileNumber).file->length();
}

std::uint8_t FormsRuntime::readByte(int fileNumber) {
  OpenFile& file = opened(fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  std::optional<std::uint8_t> byte = file.file->readAt(file.position);
  ++file.position;
  // Reading past the end gives a zero byte, as the runtime's Get does.
  return byte.value_or(0);
}

void FormsRuntime::writeByte(int fileNumber, std::uint8_t byte) {
  OpenFile& file = opened(fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  if (!file.writable) throw RuntimeError(kErrPathFileAccess);
  file.file->writeAt(file.position, byte);
  ++file.position;
}

}  // namespace zepo
