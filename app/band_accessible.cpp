#include "app/band_accessible.h"

#include <oleacc.h>

#include <atomic>

#include "app/band_controls.h"
#include "app/band_focus.h"
#include "app/window_geometry.h"
#include "core/globals.h"

namespace orvkit {

namespace {

// IID_IAccessible, spelled out: mingw's uuid and oleacc libraries both define it.
constexpr IID accessible_iid = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// oleacc is loaded when a client first asks, so the program starts without it.
template <typename Function>
Function oleacc(const char* name) {
    static HMODULE library = LoadLibraryW(L"oleacc.dll");
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// Child ids: 1..6 the band's controls (in the table's order), then the windows.
constexpr long band_children = static_cast<long>(band_control::none);
constexpr long child_count = band_children + 3;

HWND child_window(long child) {
    if (child == band_children + 1) return edit_a;
    if (child == band_children + 2) return edit_b;
    if (child == band_children + 3) return list_view;
    return nullptr;
}

band_control control_of(long child) {
    return child >= 1 && child <= band_children ? static_cast<band_control>(child - 1) : band_control::none;
}

long child_of(band_control control) {
    return control == band_control::none ? CHILDID_SELF : static_cast<long>(control) + 1;
}

VARIANT number(long value) {
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

BSTR text(const wchar_t* value) { return *value ? SysAllocString(value) : nullptr; }

// A control of another mode or of the idle band is hidden rather than greyed.
bool control_shown(band_control control) { return band_shown(band_entry_of(control), search_mode, run_status); }

class client_object final : public IAccessible {
public:
    explicit client_object(HWND window) : window_(window) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == accessible_iid) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: clients of IAccessible call its methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        const auto standard = oleacc<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>("CreateStdAccessibleObject");
        return standard ? standard(window_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent)) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = child_count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        *object = nullptr;
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > child_count) return E_INVALIDARG;
        HWND control = child_window(child.lVal);
        if (!control) return S_FALSE;  // a band control is a simple element of this object
        const auto from_window = oleacc<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>("AccessibleObjectFromWindow");
        return from_window ? from_window(control, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(object))
                           : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        *name = nullptr;
        if (!valid(child)) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            wchar_t title[64] = {};
            GetWindowTextW(window_, title, 64);
            *name = text(title);
        } else if (child_window(child.lVal)) {
            return S_FALSE;  // the window's own object, from get_accChild, names it
        } else {
            *name = text(band_entry_of(control_of(child.lVal)).name());
        }
        return *name ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* description) override {
        *description = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!valid(child)) return E_INVALIDARG;
        *role = number(child.lVal == CHILDID_SELF         ? ROLE_SYSTEM_CLIENT
                       : child.lVal == band_children + 3 ? ROLE_SYSTEM_LIST
                       : child.lVal > band_children      ? ROLE_SYSTEM_TEXT
                                                         : ROLE_SYSTEM_PUSHBUTTON);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!valid(child)) return E_INVALIDARG;
        const bool window_focused = GetFocus() == window_;
        long flags = STATE_SYSTEM_FOCUSABLE;
        const band_control control = control_of(child.lVal);
        if (child.lVal == CHILDID_SELF) {
            if (window_focused) flags |= STATE_SYSTEM_FOCUSED;
        } else if (HWND control_window = child_window(child.lVal)) {
            if (!IsWindowVisible(control_window)) flags |= STATE_SYSTEM_INVISIBLE;
            if (GetFocus() == control_window) flags |= STATE_SYSTEM_FOCUSED;
        } else {
            if (!control_shown(control)) flags |= STATE_SYSTEM_INVISIBLE;
            if (!band_control_available(control)) flags |= STATE_SYSTEM_UNAVAILABLE;
            if (window_focused && focused_band_control() == control) flags |= STATE_SYSTEM_FOCUSED;
        }
        *state = number(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        *help = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        *keys = nullptr;
        if (!valid(child)) return E_INVALIDARG;
        const band_control control = control_of(child.lVal);
        if (control == band_control::none) return S_FALSE;
        // A key that works only during a run belongs to the face the control shows
        // then (Esc to Abort, Pause to Pause/Resume), so it is named only then.
        const band_key& key = band_entry_of(control).key;
        if (key.when == key_when::running && !worker_running(run_status)) return S_FALSE;
        *keys = text(key.text);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        VariantInit(focus);
        HWND focused_window = GetFocus();
        if (focused_window == window_) {
            *focus = number(child_of(focused_band_control()));
        } else {
            for (long child = band_children + 1; child <= child_count; ++child)
                if (child_window(child) == focused_window) *focus = number(child);
        }
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        *action = nullptr;
        if (!valid(child)) return E_INVALIDARG;
        if (control_of(child.lVal) == band_control::none) return S_FALSE;
        *action = SysAllocString(L"Press");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long how, VARIANT child) override {
        if (!valid(child)) return E_INVALIDARG;
        if (!(how & SELFLAG_TAKEFOCUS)) return S_FALSE;
        const band_control control = control_of(child.lVal);
        if (control != band_control::none && band_control_available(control))
            focus_band_control(window_, control);
        else if (HWND control_window = child_window(child.lVal))
            SetFocus(control_window);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!valid(child)) return E_INVALIDARG;
        RECT place{};
        if (HWND control_window = child_window(child.lVal)) {
            GetWindowRect(control_window, &place);
        } else {
            const band_control control = control_of(child.lVal);
            if (control == band_control::none)
                GetClientRect(window_, &place);
            else
                place = scaled_rect(band_control_face(control, band_width()));
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&place), 2);
        }
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        VariantInit(end);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        POINT at{x, y};
        ScreenToClient(window_, &at);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, at)) {
            VariantInit(child);
            return S_FALSE;
        }
        *child = number(CHILDID_SELF);
        const POINT in_band{unscaled(at.x), unscaled(at.y)};
        for (long id = 1; id <= band_children; ++id) {
            const band_control control = control_of(id);
            const RECT face = band_control_face(control, band_width());
            if (control_shown(control) && PtInRect(&face, in_band)) *child = number(id);
        }
        for (long id = band_children + 1; id <= child_count; ++id) {
            RECT place{};
            GetWindowRect(child_window(id), &place);
            if (IsWindowVisible(child_window(id)) && PtInRect(&place, POINT{x, y})) *child = number(id);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!valid(child)) return E_INVALIDARG;
        const band_control control = control_of(child.lVal);
        if (control == band_control::none) return DISP_E_MEMBERNOTFOUND;
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(band_entry_of(control).command, 0), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    static bool valid(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal >= CHILDID_SELF && child.lVal <= child_count;
    }

    HWND window_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

LRESULT on_get_object(HWND window, WPARAM flags, LPARAM object_id) {
    const auto wrap = oleacc<LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*)>("LresultFromObject");
    if (static_cast<LONG>(object_id) != OBJID_CLIENT || !wrap) return DefWindowProcW(window, WM_GETOBJECT, flags, object_id);
    client_object* object = new client_object(window);
    const LRESULT answer = wrap(accessible_iid, flags, object);  // holds its own reference while wrapped
    object->Release();
    return answer;
}

}  // namespace orvkit
