#include "profile/win32/Win32FileReplacement.h"

#include <windows.h>

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The path the file system resolves the name to, or the name itself when it cannot say (a file
// that does not exist yet is its own target).
std::string FinalPath(const std::string& file) {
  const FileHandle handle(CreateFileA(file.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return file;
  char path[MAX_PATH * 4] = {};
  const DWORD length =
      GetFinalPathNameByHandleA(handle.Get(), path, sizeof path, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= sizeof path) return file;
  std::string final(path, length);
  if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
  if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

bool WriteNewFile(const std::string& file, const std::string& bytes) {
  const FileHandle handle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) return false;
  DWORD written = 0;
  const bool whole =
      WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return whole && FlushFileBuffers(handle.Get());
}

}  // namespace

std::optional<std::string> ReadFileToRewriteA(const std::string& file) {
  const FileHandle handle(CreateFileA(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) {
    if (IsMissing(GetLastError())) return std::string();
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

bool ReplaceFileContentsA(const std::string& file, const std::string& bytes) {
  const std::string target = FinalPath(file);
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::string temporary = target + ".tastron-new";
  if (!WriteNewFile(temporary, bytes)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  // Someone else reading the file (a virus scanner, an editor, the hook library's watcher) can
  // hold it for a moment. A file open elsewhere cannot be replaced by rename even when it was
  // opened to allow that (Wine, and Windows without POSIX renames, answer "access denied"); a
  // read-only file, the other cause of that answer, was refused above.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool heldElsewhere = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                               error == ERROR_ACCESS_DENIED;
    if (attempt >= 20 || !heldElsewhere) {
      DeleteFileA(temporary.c_str());
      SetLastError(error);
      return false;
    }
    Sleep(25);
  }
}
