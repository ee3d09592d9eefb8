#include "sim/SimDesktop.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <time.h>

#include "sim/SimFaults.h"

namespace {

// Within this of the clock, a second write could carry the same time stamp as the first (FAT's
// resolution; NTFS and Linux file systems are finer).
constexpr std::uint64_t kRecentWriteNs = 2'000'000'000;

}  // namespace

void SimDesktop::NoteFileCall(const char* what) {
  if (hookDepth_ == 0) return;
  ++fileCallsInHookCalls_;
  ReportSimFault(std::string("a hook call made a file system call: ") + what);
}

HookPlatform::RuleFileCheck SimDesktop::CheckRuleFile(const char* file) {
  NoteFileCall("CheckRuleFile");
  RuleFileCheck check;
  check.mayHaveChanged = changeSignalled_;
  changeSignalled_ = false;
  struct stat status {};
  if (::stat(file, &status) == 0) {
    check.exists = true;
    check.size = static_cast<std::uint64_t>(status.st_size);
    check.lastWrite = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                      static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t nowNs = static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                                static_cast<std::uint64_t>(now.tv_nsec);
    check.writtenRecently = check.lastWrite + kRecentWriteNs > nowNs;
  }
  return check;
}

HookPlatform::RuleFileRead SimDesktop::ReadRuleFile(const char* file, std::uint64_t largest) {
  NoteFileCall("ReadRuleFile");
  RuleFileRead read;
  struct stat status {};
  if (failReads_) {
    read.outcome = RuleFileRead::Outcome::Failed;
  } else if (::stat(file, &status) != 0) {
    read.outcome = RuleFileRead::Outcome::Missing;
  } else if (static_cast<std::uint64_t>(status.st_size) > largest) {
    read.outcome = RuleFileRead::Outcome::TooLarge;
  } else {
    ++ruleFileReads_;
    std::ifstream in(file, std::ios::binary);
    read.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    read.outcome = in.bad() ? RuleFileRead::Outcome::Failed : RuleFileRead::Outcome::Read;
  }
  return read;
}

void SimDesktop::RunRuleWatcher() {
  if (!holdWatcher_ && watchedRules_ != nullptr) watchedRules_->Refresh(*this, watchedFile_);
}

// As another program saves a file: the whole content replaced at once, noticed by the folder's
// change notification like any write.
void SimDesktop::LoadRuleFile(const std::string& bytes) {
  const std::string temporary = ruleFile_ + ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write the rule file");
  }
  std::filesystem::rename(temporary, ruleFile_);
  SignalRuleFileChange();
}

void SimDesktop::WriteEntry(const char* file, std::string_view section, std::string_view key,
                            std::string_view value) {
  profile_.WriteString(file, section, key, value);
  SignalRuleFileChange();
  trace_ << "ini " << section << ' ' << key << '=' << value << '\n';
}

void SimDesktop::DeleteEntry(const char* file, std::string_view section, std::string_view key) {
  profile_.DeleteKey(file, section, key);
  SignalRuleFileChange();
  trace_ << "ini " << section << ' ' << key << " deleted\n";
}

void SimDesktop::SetRule(const std::string& section, const std::string& key,
                         const std::string& value) {
  profile_.WriteString(ruleFile_, section, key, value);
  SignalRuleFileChange();
}

void SimDesktop::RemoveRule(const std::string& section, const std::string& key) {
  profile_.DeleteKey(ruleFile_, section, key);
  SignalRuleFileChange();
}

void SimDesktop::RemoveRuleSection(const std::string& section) {
  profile_.DeleteSection(ruleFile_, section);
  SignalRuleFileChange();
}
