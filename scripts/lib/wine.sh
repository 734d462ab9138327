# shellcheck shell=bash
# Wine set-up shared by scripts/wine-run, scripts/editor-screenshot and
# scripts/test-shipped. Sourced, not run.

# The Windows name of a Linux path, through Wine's Z: drive.
# shellcheck disable=SC1003 # one backslash, not an escaped quote
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# wine_env PREFIX: the environment every Wine start here runs in. Sets
# wine_bin and wineserver_bin for the caller.
# shellcheck disable=SC2034
wine_env() {
  export WINEPREFIX=$1
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko install dialogs when the prefix is made, and no
  # winemenubuilder: the shell starts it whenever a test changes a file
  # association, and its start can deadlock with the desktop's own.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

  # 64-bit programs go straight to the 64-bit loader, also those that Wine
  # starts itself: with wine32 installed, /usr/bin/wine would start the 32-bit
  # loader first. A 32-bit program is handed to the 32-bit loader as usual,
  # and a new prefix gets its 32-bit half where wine32 is installed.
  wine_bin=$(command -v wine64 || command -v wine || true)
  [ -x /usr/lib/wine/wine64 ] && wine_bin=/usr/lib/wine/wine64
  export WINELOADER="$wine_bin"
  wineserver_bin=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
  [ -x /usr/lib/wine/wineserver64 ] && wineserver_bin=/usr/lib/wine/wineserver64
  return 0
}

# wine_fonts PREFIX: Debian's fonts-wine puts Tahoma and Marlett where Wine
# does not look; a prefix's own Fonts folder is always searched, and the
# editor is laid out in Tahoma.
wine_fonts() {
  local fonts="$1/drive_c/windows/Fonts" f
  mkdir -p "$fonts"
  for f in tahoma.ttf tahomabd.ttf marlett.ttf; do
    [ -f "/usr/share/wine/fonts/$f" ] && cp -u "/usr/share/wine/fonts/$f" "$fonts/"
  done
  return 0
}
