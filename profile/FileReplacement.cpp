#include "profile/FileReplacement.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Where the bytes really go: the end of a chain of links, or the path itself.
fs::path FinalTarget(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  const fs::path target = fs::canonical(path, error);
  return error ? path : target;
}

bool IsReadOnly(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return false;
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

std::optional<std::string> ReadFileToRewrite(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return error ? std::nullopt : std::optional<std::string>("");
  std::ifstream in{path, std::ios::binary};
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
  const fs::path target = FinalTarget(path);
  if (IsReadOnly(target)) return false;
  const fs::path temporary = target.string() + ".tastron-new";
  {
    std::ofstream out{temporary, std::ios::binary | std::ios::trunc};
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}
