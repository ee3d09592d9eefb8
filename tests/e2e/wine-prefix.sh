# Sourced: boot_prefix TEMPFOLDER makes a fresh Wine prefix at $WINEPREFIX, as every e2e run
# wants it.
boot_prefix() {
  "$WINE" wineboot -i >/dev/null 2>&1
  # Korean texts in the dialogs' font 굴림 show in Nanum Gothic (Debian's fonts-nanum).
  # Without a window manager, Wine draws the windows' title bars itself.
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"\352\265\264\353\246\274"="NanumGothic"\r\n"Gulim"="NanumGothic"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n"Managed"="N"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$1/fonts.reg"
  "$WINE" regedit /S "Z:$1/fonts.reg" >/dev/null 2>&1
}
