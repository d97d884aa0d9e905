#pragma once
// What screen readers see of a window's client area that holds image buttons:
// the system's own object for that area, with each button added as a push-button
// child after the child windows, named by its hint, with its enabled and hot
// state, its shortcut and a default action that presses it.
#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"

#include <ole2.h>
#include <oleacc.h>

namespace velbrook::ui {

class ImageButtonHost;

// Sent (posted) to the host's window to press a button: wParam is its index.
// Posted, so that a screen reader's call returns before a dialog of the click shows.
inline constexpr UINT kPressImageButtonMessage = WM_APP + 0x101;

class ImageButtonAccessible final : public IAccessible {
  public:
    // With one reference; nullptr when the system's object cannot be made.
    static ImageButtonAccessible* Create(const ImageButtonHost& host, HWND window);
    // The host is going away; a client that still holds the object is told it is gone.
    void Detach() { host_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  private:
    ImageButtonAccessible(const ImageButtonHost& host, HWND window, IAccessible* standard);
    ~ImageButtonAccessible() = default;

    // What a child id names: the area itself or a child window (the system's
    // object answers), one of the buttons, or nothing.
    enum class Target { Standard, Button, Invalid };
    Target Resolve(const VARIANT& child, int& button) const;
    LONG WindowChildCount() const;
    int ButtonCount() const;

    LONG references_ = 1;
    const ImageButtonHost* host_;
    HWND window_;
    win32::ComRef<IAccessible> standard_;
};

} // namespace velbrook::ui
