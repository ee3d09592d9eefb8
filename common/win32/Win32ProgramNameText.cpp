#include "common/win32/Win32ProgramNameText.h"

#include <windows.h>

// MB_ERR_INVALID_CHARS is one of the two flags UTF-8 (65001) allows: bytes that are no text of
// the code page name no program, rather than one with a replacement character.
std::optional<std::u16string> Win32ProgramNameText::WideFromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return std::u16string();
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size,
                      reinterpret_cast<wchar_t*>(wide.data()), length);
  return wide;
}

// Without LCMAP_LINGUISTIC_CASING the mapping is the file system's: one code unit for one,
// the same on every locale.
void Win32ProgramNameText::ToUpper(std::u16string& name) const {
  if (name.empty()) return;
  const int size = static_cast<int>(name.size());
  std::u16string upper(name.size(), u'\0');
  const int length =
      LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, reinterpret_cast<LPCWSTR>(name.data()),
                    size, reinterpret_cast<LPWSTR>(upper.data()), size, nullptr, nullptr, 0);
  if (length == size) name = std::move(upper);
}
