// Letters in the right-click menu: its texts carry no '&' marks (they read as they
// always have), so a typed letter is matched against the items' first letters here.
#pragma once
#include <windows.h>

namespace orvkit {

// WM_MENUCHAR: the next item of `menu` after the highlighted one whose text starts
// with `letter` (case aside), skipping separators and greyed items. Chooses it when
// it is the only such item, else highlights it; 0 (a beep) when none starts so.
LRESULT on_menu_char(wchar_t letter, HMENU menu);

}  // namespace orvkit
