#include <windows.h>

#include <oleacc.h>

#include "app/win32/accessible_object.h"

#include <atomic>
#include <memory>

#include "base/win32/dll_search.h"
#include "environment/win32/com.h"

namespace updater::app::win32 {
namespace {

using environment::win32::ComPtr;

constexpr wchar_t kTraitsProperty[] = L"UpdaterAccessibleTraits";
constexpr wchar_t kOriginalProcProperty[] = L"UpdaterAccessibleProc";

// The accessibility library and BSTRs are loaded at run time like the other libraries that load
// more by bare name (base/win32/dll_search.h); a system without them simply keeps the standard
// objects.
struct AccessibilityFunctions {
    decltype(&CreateStdAccessibleObject) createStd =
        base::win32::SystemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    decltype(&LresultFromObject) lresultFromObject =
        base::win32::SystemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    decltype(&SysAllocString) allocString =
        base::win32::SystemFunction<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    bool Ok() const { return createStd && lresultFromObject && allocString; }
};

const AccessibilityFunctions& Functions() {
    static const AccessibilityFunctions functions;
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard client object with the traits laid over it.
class AccessibleControl final : public IAccessible {
  public:
    AccessibleControl(HWND window, ComPtr<IAccessible> standard, AccessibleTraits traits)
        : window_(window), standard_(std::move(standard)), traits_(std::move(traits)) {}

    // IUnknown. Interfaces other than ours (IEnumVARIANT, IOleWindow) are the standard object's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;  // COM objects end themselves with their last reference
        return left;
    }

    // IDispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, iid, lcid, flags, params, result, exception, argument);
    }

    // IAccessible: what the traits name, then the standard object.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (traits_.nameFromText && IsSelf(child)) return Text(Caption(window_), name);
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!traits_.description.empty() && IsSelf(child)) return Text(traits_.description, description);
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (traits_.role != 0 && IsSelf(child) && role != nullptr) {
            role->vt = VT_I4;
            role->lVal = traits_.role;
            return S_OK;
        }
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = standard_->get_accState(child, state);
        if (SUCCEEDED(result) && traits_.pressable && IsSelf(child) && state->vt == VT_I4) {
            state->lVal &= ~STATE_SYSTEM_PRESSED;
            if (SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED) state->lVal |= STATE_SYSTEM_PRESSED;
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (traits_.pressable && IsSelf(child)) {
            if (!IsWindowEnabled(window_)) return DISP_E_MEMBERNOTFOUND;
            PostMessageW(window_, BM_CLICK, 0, 0);
            return S_OK;
        }
        return standard_->accDoDefaultAction(child);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return standard_->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

  private:
    static HRESULT Text(const std::u16string& text, BSTR* out) {
        if (out == nullptr) return E_POINTER;
        *out = Functions().allocString(Wide(text));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HWND window_;
    ComPtr<IAccessible> standard_;
    AccessibleTraits traits_;
    std::atomic<ULONG> references_{1};
};

LRESULT CALLBACK AnnotatedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProcProperty));
    if (message == WM_GETOBJECT) {
        if (const auto* traits = static_cast<const AccessibleTraits*>(GetPropW(window, kTraitsProperty))) {
            if (const std::optional<LRESULT> answer = AnswerGetObject(window, wParam, lParam, *traits)) return *answer;
        }
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(window, kTraitsProperty);
        RemovePropW(window, kOriginalProcProperty);
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

}  // namespace

std::optional<LRESULT> AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleTraits& traits) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return std::nullopt;
    const AccessibilityFunctions& functions = Functions();
    if (!functions.Ok()) return std::nullopt;
    // The object is handed over through COM: the window's thread joins an apartment the first time
    // a client asks, and stays in it.
    static const environment::win32::ComApartment apartment;
    if (!apartment.Ok()) return std::nullopt;
    ComPtr<IAccessible> standard;
    if (FAILED(functions.createStd(window, OBJID_CLIENT, IID_IAccessible, standard.ReceiveVoid()))) return std::nullopt;
    // COM counts the object's references; its last Release ends it.
    auto control = std::make_unique<AccessibleControl>(window, std::move(standard), traits);
    IAccessible* object = control.release();
    const LRESULT answer = functions.lresultFromObject(IID_IAccessible, wParam, object);
    object->Release();
    return answer;
}

void AnswerGetObjectWith(HWND control, const AccessibleTraits& traits) {
    SetPropW(control, kTraitsProperty, const_cast<AccessibleTraits*>(&traits));
    SetPropW(control, kOriginalProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnnotatedControlProc));
}

}  // namespace updater::app::win32
