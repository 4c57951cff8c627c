#include "base/clipboard.h"

namespace orvkit {

bool open_clipboard(HWND window) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(window)) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace orvkit
