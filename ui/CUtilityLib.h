#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/Services.h"

// Installs the services for the process for as long as the object lives; then the services
// installed before are back (none: CUtilityLib fails again), so that no call reaches services
// that have gone.
class InstalledServices {
 public:
  explicit InstalledServices(Services& services);
  ~InstalledServices();
  InstalledServices(const InstalledServices&) = delete;
  InstalledServices& operator=(const InstalledServices&) = delete;

 private:
  Services* previous_;
};

// The utility library's static helpers, on the services installed for the process (the real
// ones in Tastron.exe, fakes in tests). Paths never end in a backslash.
class CUtilityLib {
 public:
  static Services& Get();

  // A stored number, a value stored as decimal text read as its number, else the default.
  static int ReadRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                          int defaultValue);
  // A stored text (a number reads as its decimal text), at most size - 1 characters; empty
  // when there is none.
  static std::string ReadRegistryText(RegistryRoot root, const std::string& key,
                                      const std::string& name, std::size_t size);
  static bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                            const std::string& text);
  static bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                            std::uint32_t number);
  static bool DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                  const std::string& name);
  // Decimal text of a number.
  static std::string GetString(long value);

  static void SetAppDataSubPath(const std::string& name);
  // The user's application-data folder + "\" + the sub-path; created when `create` is set.
  static std::string GetAppDataPath(bool create);
  // Creates every missing level of a folder path; reports whether the folder exists afterwards.
  static bool CreateMultiFolder(const std::string& path, int allLevels);
  // The executable's folder.
  static std::string GetAppPath();
  static std::string GetWindowsDirectoryA();
  static bool IsWin64();
  static bool IsFile(const std::string& path);
  // The extension without its dot; empty when the name has none.
  static std::string GetFileExt(const std::string& path);

  static int GetPrivateProfileIntA(const std::string& section, const std::string& key,
                                   int defaultValue, const std::string& file);
  static bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& value, const std::string& file);
  static bool WritePrivateProfileInt(const std::string& section, const std::string& key, int value,
                                     const std::string& file);
  // A whole section (read into 4096 characters) as parallel lists, in file order; lines
  // without "=" are left out.
  static void GetPrivateProfileSectionA(const std::string& section, std::vector<std::string>& keys,
                                        std::vector<std::string>& values, const std::string& file);
  // A whole section's lines (those without "=" too), however long: the buffer grows until the
  // section fits, where a fixed buffer would cut it and a rewrite would lose the rest.
  static std::vector<std::string> GetWholeProfileSection(const std::string& section,
                                                         const std::string& file);
  // The same, or nullopt for a section beyond any buffer the program gives (`largest`
  // characters, 64 MB unless a test says less): what must not be taken cut.
  static constexpr std::size_t kLargestSection = std::size_t{64} << 20;
  static std::optional<std::vector<std::string>> GetCompleteProfileSection(
      const std::string& section, const std::string& file, std::size_t largest = kLargestSection);
  // File and folder choosers: true with the path set when the user confirms.
  static bool SelectFile(std::string& path, const std::string& title, const std::string& filter,
                         WindowHandle owner);
  static bool SelectSaveFile(std::string& path, const std::string& title, const std::string& filter,
                             WindowHandle owner);
  // The folder chooser is owned by `owner`, which takes no input while it is open.
  static bool SelectFolder(std::string& path, const std::string& title, WindowHandle owner);

  static WindowHandle GetTopWindow(WindowHandle window);
  static void MSGSetForegroundWindow(WindowHandle window);
  // The window flies into the notification area or out of it (only an animation).
  static void AniMinimizeToTray(WindowHandle window);
  static void AniMaximiseFromTray(WindowHandle window);

  // Splits at every `separator`; empty fields are kept when `keepEmpty` is set, and fields are
  // trimmed of blanks when `trim` is set.
  static void SplitStringByToken(const std::string& text, char separator,
                                 std::vector<std::string>& fields, bool keepEmpty, bool trim);
};
