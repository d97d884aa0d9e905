#include "ui/controls/image_button_accessible.h"

#include <string>

#include "support/messages.h"
#include "support/win32/wide_text.h"
#include "ui/controls/image_button_host.h"

namespace velbrook::ui {

namespace {

// A BSTR of ANSI text, or nullptr for an empty one (which clients read as none).
HRESULT ToBstr(const std::string& text, BSTR* out) {
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocString(win32::WideFromAnsi(text).c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// VariantInit is oleaut32's; these few VARIANTs are filled by hand.
void SetEmpty(VARIANT* out) {
    out->vt = VT_EMPTY;
}

void SetChildId(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
}

} // namespace

ImageButtonAccessible* ImageButtonAccessible::Create(const ImageButtonHost& host, HWND window) {
    void* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), &standard)) ||
        standard == nullptr)
        return nullptr;
    return new ImageButtonAccessible(host, window, static_cast<IAccessible*>(standard));
}

ImageButtonAccessible::ImageButtonAccessible(const ImageButtonHost& host, HWND window,
                                             IAccessible* standard)
    : host_(&host), window_(window), standard_(standard) {}

HRESULT ImageButtonAccessible::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ImageButtonAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG ImageButtonAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT ImageButtonAccessible::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT ImageButtonAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT ImageButtonAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT ImageButtonAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) {
    return E_NOTIMPL;
}

LONG ImageButtonAccessible::WindowChildCount() const {
    LONG count = 0;
    if (FAILED(standard_->get_accChildCount(&count)) || count < 0)
        return 0;
    return count;
}

int ImageButtonAccessible::ButtonCount() const {
    return host_ != nullptr ? static_cast<int>(host_->Buttons().size()) : 0;
}

// The buttons' ids follow the window children's, which the system numbers 1 to n.
ImageButtonAccessible::Target ImageButtonAccessible::Resolve(const VARIANT& child,
                                                             int& button) const {
    if (child.vt != VT_I4)
        return Target::Invalid;
    const LONG windows = WindowChildCount();
    if (child.lVal <= windows)
        return child.lVal >= 0 ? Target::Standard : Target::Invalid;
    button = static_cast<int>(child.lVal - windows - 1);
    return button < ButtonCount() ? Target::Button : Target::Invalid;
}

HRESULT ImageButtonAccessible::get_accParent(IDispatch** parent) {
    return standard_->get_accParent(parent);
}

HRESULT ImageButtonAccessible::get_accChildCount(LONG* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = WindowChildCount() + ButtonCount();
    return S_OK;
}

HRESULT ImageButtonAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accChild(child, object);
    case Target::Button:
        return S_FALSE; // a simple element: asked about through this object
    case Target::Invalid:
        break;
    }
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accName(VARIANT child, BSTR* name) {
    if (name == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accName(child, name);
    case Target::Button:
        return ToBstr(host_->Buttons()[button]->Name(), name);
    case Target::Invalid:
        break;
    }
    *name = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (value == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accValue(child, value);
    case Target::Button:
        *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    case Target::Invalid:
        break;
    }
    *value = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (description == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accDescription(child, description);
    case Target::Button:
        *description = nullptr;
        return S_FALSE;
    case Target::Invalid:
        break;
    }
    *description = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accRole(child, role);
    case Target::Button:
        SetChildId(role, ROLE_SYSTEM_PUSHBUTTON);
        return S_OK;
    case Target::Invalid:
        break;
    }
    SetEmpty(role);
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accState(child, state);
    case Target::Button: {
        const ImageButton& b = *host_->Buttons()[button];
        LONG flags = 0;
        if (!b.Enabled())
            flags |= STATE_SYSTEM_UNAVAILABLE;
        if (b.Hot())
            flags |= STATE_SYSTEM_HOTTRACKED;
        if (b.State() == ImageButtonState::Pressed)
            flags |= STATE_SYSTEM_PRESSED;
        if (!IsWindowVisible(window_))
            flags |= STATE_SYSTEM_INVISIBLE;
        SetChildId(state, flags);
        return S_OK;
    }
    case Target::Invalid:
        break;
    }
    SetEmpty(state);
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (help == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accHelp(child, help);
    case Target::Button:
        *help = nullptr;
        return S_FALSE;
    case Target::Invalid:
        break;
    }
    *help = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accHelpTopic(file, child, topic);
    case Target::Button:
        return DISP_E_MEMBERNOTFOUND;
    case Target::Invalid:
        break;
    }
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (shortcut == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accKeyboardShortcut(child, shortcut);
    case Target::Button:
        return ToBstr(host_->Buttons()[button]->Shortcut(), shortcut);
    case Target::Invalid:
        break;
    }
    *shortcut = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::get_accFocus(VARIANT* focus) {
    return standard_->get_accFocus(focus);
}

HRESULT ImageButtonAccessible::get_accSelection(VARIANT* selection) {
    return standard_->get_accSelection(selection);
}

HRESULT ImageButtonAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (action == nullptr)
        return E_POINTER;
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->get_accDefaultAction(child, action);
    case Target::Button:
        return ToBstr(msg::kPressAction, action);
    case Target::Invalid:
        break;
    }
    *action = nullptr;
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::accSelect(LONG flags, VARIANT child) {
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->accSelect(flags, child);
    case Target::Button:
        return DISP_E_MEMBERNOTFOUND; // the buttons take no focus
    case Target::Invalid:
        break;
    }
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                           VARIANT child) {
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->accLocation(left, top, width, height, child);
    case Target::Button: {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        RECT r = host_->Buttons()[button]->Bounds();
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    case Target::Invalid:
        break;
    }
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (end == nullptr)
        return E_POINTER;
    int button = 0;
    const Target target = Resolve(start, button);
    if (target == Target::Invalid) {
        SetEmpty(end);
        return E_INVALIDARG;
    }
    const LONG windows = WindowChildCount();
    const LONG buttons = ButtonCount();
    const bool fromSelf = start.lVal == CHILDID_SELF;
    // The buttons come after the child windows, in the order of the host.
    if (fromSelf && direction == NAVDIR_LASTCHILD && buttons > 0) {
        SetChildId(end, windows + buttons);
        return S_OK;
    }
    if (fromSelf && direction == NAVDIR_FIRSTCHILD && windows == 0 && buttons > 0) {
        SetChildId(end, 1);
        return S_OK;
    }
    if (!fromSelf && (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) &&
        (target == Target::Button || (start.lVal == windows && direction == NAVDIR_NEXT))) {
        const LONG id = start.lVal + (direction == NAVDIR_NEXT ? 1 : -1);
        if (id < 1 || id > windows + buttons) {
            SetEmpty(end);
            return S_FALSE;
        }
        SetChildId(end, id);
        return S_OK;
    }
    if (target == Target::Button) {
        SetEmpty(end);
        return S_FALSE;
    }
    return standard_->accNavigate(direction, start, end);
}

HRESULT ImageButtonAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
    if (child == nullptr)
        return E_POINTER;
    if (host_ != nullptr) {
        POINT at{x, y};
        ScreenToClient(window_, &at);
        const auto& buttons = host_->Buttons();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->ContainsPoint(at)) {
                SetChildId(child, WindowChildCount() + static_cast<LONG>(i) + 1);
                return S_OK;
            }
        }
    }
    return standard_->accHitTest(x, y, child);
}

HRESULT ImageButtonAccessible::accDoDefaultAction(VARIANT child) {
    int button = 0;
    switch (Resolve(child, button)) {
    case Target::Standard:
        return standard_->accDoDefaultAction(child);
    case Target::Button:
        if (!host_->Buttons()[button]->Enabled())
            return E_FAIL;
        PostMessageA(window_, kPressImageButtonMessage, static_cast<WPARAM>(button), 0);
        return S_OK;
    case Target::Invalid:
        break;
    }
    return E_INVALIDARG;
}

HRESULT ImageButtonAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT ImageButtonAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace velbrook::ui
