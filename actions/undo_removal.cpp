#include "actions/undo_removal.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <map>
#include <memory>
#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "core/journal_format.h"
#include "core/removal_journal.h"
#include "core/state.h"

namespace orvkit {

namespace {

constexpr std::size_t reasons_shown = 5;

std::wstring lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Makes the folders above `path` that a removal of empty folders may have taken.
void make_parent_folders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(long_path(path.substr(0, at)).c_str(), nullptr);
}

// The items of the recycle bin, by their original path in lower case. The folder,
// its items and their menus stay valid while this lives.
class recycle_bin {
public:
    recycle_bin() {
        com_ = CoInitialize(nullptr);
        IShellFolder* desktop = nullptr;
        PIDLIST_ABSOLUTE location = nullptr;
        if (FAILED(SHGetDesktopFolder(&desktop))) return;
        if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &location))) {
            desktop->BindToObject(location, nullptr, IID_IShellFolder2, reinterpret_cast<void**>(&folder_));
            CoTaskMemFree(location);
        }
        desktop->Release();
        IEnumIDList* items = nullptr;
        if (!folder_ || folder_->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) != S_OK) return;
        PITEMID_CHILD item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK) {
            // Column 0 is the name, column 1 the folder it was recycled from.
            const std::wstring name = detail(item, 0), folder = detail(item, 1);
            if (name.empty() || folder.empty()) {
                CoTaskMemFree(item);
                continue;
            }
            items_.emplace(lower(folder + (folder.back() == L'\\' ? L"" : L"\\") + name), item);
        }
        items->Release();
    }
    ~recycle_bin() {
        for (auto& [path, item] : items_) CoTaskMemFree(item);
        if (folder_) folder_->Release();
        if (SUCCEEDED(com_)) CoUninitialize();
    }
    recycle_bin(const recycle_bin&) = delete;
    recycle_bin& operator=(const recycle_bin&) = delete;

    // Restores the item recycled from `path`; "" when it is back, else why not.
    std::wstring restore(const std::wstring& path) {
        const auto found = items_.find(lower(path));
        if (found == items_.end()) return L"not in the recycle bin";
        // The bin cannot tell which of several files once at this path was removed in
        // this batch: none is chosen for the user.
        if (items_.count(found->first) > 1) return L"several files of this path are in the recycle bin";
        PCUITEMID_CHILD item = found->second;
        IContextMenu* menu = nullptr;
        if (FAILED(folder_->GetUIObjectOf(nullptr, 1, &item, IID_IContextMenu, nullptr,
                                          reinterpret_cast<void**>(&menu))))
            return L"the recycle bin offers no Restore for it";
        invoke_restore(*menu);
        menu->Release();
        CoTaskMemFree(found->second);
        items_.erase(found);
        return path_exists(path) ? L"" : L"the recycle bin did not restore it";
    }

private:
    std::wstring detail(PCUITEMID_CHILD item, UINT column) const {
        SHELLDETAILS details{};
        wchar_t text[MAX_PATH * 4] = {};
        if (FAILED(folder_->GetDetailsOf(item, column, &details))) return {};
        StrRetToBufW(&details.str, item, text, static_cast<UINT>(std::size(text)));
        return text;
    }

    // The item's Restore command: the "undelete" verb where the menu names its verbs
    // (Windows), else the item titled "Restore" (Wine names no verbs, and accepts the
    // "undelete" verb without acting on it).
    static void invoke_restore(IContextMenu& menu) {
        constexpr UINT first_id = 1;
        HMENU items = CreatePopupMenu();
        if (FAILED(menu.QueryContextMenu(items, 0, first_id, 0x7FFF, CMF_NORMAL))) {
            DestroyMenu(items);
            return;
        }
        int chosen = -1;
        for (int i = 0, n = GetMenuItemCount(items); i < n && chosen < 0; ++i) {
            const UINT id = GetMenuItemID(items, i);
            if (id == static_cast<UINT>(-1) || id < first_id) continue;
            wchar_t verb[64] = {};
            wchar_t title[128] = {};
            const bool named = SUCCEEDED(menu.GetCommandString(id - first_id, GCS_VERBW, nullptr,
                                                               reinterpret_cast<LPSTR>(verb), 64));
            GetMenuStringW(items, i, title, 128, MF_BYPOSITION);
            std::wstring plain = title;
            std::erase(plain, L'&');
            if ((named && lstrcmpiW(verb, L"undelete") == 0) || (!named && plain == L"Restore"))
                chosen = static_cast<int>(id - first_id);
        }
        DestroyMenu(items);
        if (chosen < 0) return;
        CMINVOKECOMMANDINFO invoke{sizeof(invoke)};
        invoke.lpVerb = MAKEINTRESOURCEA(chosen);
        invoke.nShow = SW_SHOWNORMAL;
        menu.InvokeCommand(&invoke);
    }

    HRESULT com_ = E_FAIL;
    IShellFolder2* folder_ = nullptr;
    std::multimap<std::wstring, PITEMID_CHILD> items_;
};

// Puts a moved file back; "" when it is back, else why not.
std::wstring restore_moved(const journal_entry& entry) {
    if (!path_exists(entry.target)) return L"no longer in the move folder";
    make_parent_folders(entry.path);
    // MoveFileW never replaces: a file that took the path meanwhile stays.
    return MoveFileW(long_path(entry.target).c_str(), long_path(entry.path).c_str()) ? L"" : L"could not be moved back";
}

std::wstring outcome_text(int restored, const std::vector<std::wstring>& reasons, int deleted) {
    std::wstring text = std::to_wstring(restored) + L" files restored";
    if (!reasons.empty()) {
        text += L", " + std::to_wstring(reasons.size()) + L" could not be: ";
        for (std::size_t i = 0; i < reasons.size() && i < reasons_shown; ++i) text += (i ? L"; " : L"") + reasons[i];
        if (reasons.size() > reasons_shown) text += L"; and " + std::to_wstring(reasons.size() - reasons_shown) + L" more";
    }
    if (deleted > 0) text += L". " + std::to_wstring(deleted) + L" deleted files cannot be restored";
    return text;
}

}  // namespace

std::wstring undo_last_removal(const ostrand_state& state) {
    const std::wstring journal = journal_path(state);
    const undo_plan plan = plan_undo(read_journal(journal));
    if (plan.batch.empty()) return L"No removal to undo";
    if (plan.pending.empty() && plan.deleted > 0 && !plan.undone)
        return std::to_wstring(plan.deleted) + L" deleted files cannot be restored; nothing was changed";

    journal_batch undo(journal, plan.batch);
    int restored = 0;
    std::vector<std::wstring> reasons;
    std::unique_ptr<recycle_bin> bin;
    for (const journal_entry& entry : plan.pending) {
        std::wstring why;
        if (path_exists(entry.path)) {
            why = L"a file already stands at its path";
        } else if (entry.action == journal_action::moved) {
            why = restore_moved(entry);
        } else {
            if (!bin) bin = std::make_unique<recycle_bin>();
            why = bin->restore(entry.path);
        }
        if (!why.empty()) {
            reasons.push_back(entry.path + L" (" + why + L")");
            continue;
        }
        ++restored;
        undo.record(journal_action::restored, entry.path, {}, {}, entry.size);
    }
    undo.record(journal_action::undone, {}, {}, {}, 0);
    std::wstring outcome = outcome_text(restored, reasons, plan.undone ? 0 : plan.deleted);
    if (undo.failed()) outcome += L". " + std::wstring(journal_failed_text);
    return outcome;
}

}  // namespace orvkit
