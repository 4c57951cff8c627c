# Sourced by the scripts that run Wine: the project's own prefix inside the build
# folder (never ~/.wine), quiet output, and a fixed locale and time zone.
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export OSTRAND_BUILD="${OSTRAND_BUILD:-$top/build}"
export WINEPREFIX="${OSTRAND_WINE_PREFIX:-$OSTRAND_BUILD/wine/prefix}"
# A display scale other than 96 DPI (OSTRAND_WINE_DPI) gets a prefix of its own, so
# the suite's prefix stays at 96.
if [ -n "${OSTRAND_WINE_DPI:-}" ] && [ "$OSTRAND_WINE_DPI" != 96 ]; then
  export WINEPREFIX="$OSTRAND_BUILD/wine/prefix-${OSTRAND_WINE_DPI}dpi"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export LC_ALL=C.UTF-8
export TZ=UTC
# The prefix links Desktop and Documents into $HOME: give Wine a scratch home, so
# nothing the program or the tests write lands in the user's own folders. The
# recycle bin follows XDG_DATA_HOME, which stays the caller's unless set.
export XDG_DATA_HOME="${XDG_DATA_HOME:-${HOME:-/root}/.local/share}"
export HOME="$OSTRAND_BUILD/wine/home"
mkdir -p "$HOME"
