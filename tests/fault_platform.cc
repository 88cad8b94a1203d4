#include "tests/fault_platform.h"

#include "platform/errors.h"

namespace zepo {

std::vector<std::string> FaultPlatform::calls(const std::string& operation) const {
  std::vector<std::string> out;
  for (const std::string& entry : log) {
    if (entry.starts_with(operation + "(")) out.push_back(entry);
  }
  return out;
}

const FaultPlatform::Rule* FaultPlatform::enter(const std::string& operation,
                                                const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += (joined.empty() ? "" : ", ") + argument;
  log.push_back(operation + "(" + joined + ")");
  if (onCall) onCall(log.back());
  for (const Rule& rule : rules) {
    if (rule.operation != operation || log.back().find(rule.match) == std::string::npos) continue;
    int n = ++matched_[&rule];
    if (rule.call != 0 && n != rule.call) continue;
    if (rule.error != 0) throw RuntimeError(rule.error);
    return &rule;
  }
  return nullptr;
}

std::string FaultPlatform::handle(std::uint64_t value) const {
  auto it = handles_.find(value);
  return it == handles_.end() ? std::to_string(value) : "#" + std::to_string(it->second);
}

void FaultPlatform::handOut(std::uint64_t value) {
  if (value != 0) handles_[value] = ++handedOut_;
}

std::string FaultPlatform::file(int fileNumber) const {
  auto it = files_.find(fileNumber);
  return it == files_.end() ? "#" + std::to_string(fileNumber) : it->second;
}

}  // namespace zepo
