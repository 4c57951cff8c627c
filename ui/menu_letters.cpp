#include "ui/menu_letters.h"

#include <cwctype>
#include <vector>

namespace orvkit {

LRESULT on_menu_char(wchar_t letter, HMENU menu) {
    const int count = GetMenuItemCount(menu);
    std::vector<int> matches;
    int highlighted = -1;
    for (int index = 0; index < count; ++index) {
        wchar_t text[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 128;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item)) continue;
        if (item.fState & MFS_HILITE) highlighted = index;
        if ((item.fType & MFT_SEPARATOR) || (item.fState & MFS_GRAYED)) continue;
        if (std::towupper(text[0]) == std::towupper(letter)) matches.push_back(index);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
    for (int index : matches)
        if (index > highlighted) return MAKELRESULT(index, MNC_SELECT);
    return MAKELRESULT(matches.front(), MNC_SELECT);  // round again from the top
}

}  // namespace orvkit
