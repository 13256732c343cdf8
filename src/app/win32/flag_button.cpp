#include <windows.h>

#include <oleacc.h>

#include "app/win32/flag_button.h"

#include <memory>
#include <optional>

#include "app/win32/accessible_object.h"
#include "app/window_layout.h"
#include "base/win32/scoped_win.h"

namespace updater::app::win32 {
namespace {

using base::win32::ScopedColors;
using base::win32::ScopedCompatibleDC;
using base::win32::ScopedPaint;
using base::win32::ScopedSelectObject;

struct FlagState {
    HBITMAP bitmap = nullptr;
    bool down = false;
    bool hot = false;        // under the mouse
    bool pushing = false;    // mouse button held down over it
    bool spaceDown = false;  // Space held down while focused
};

FlagState* StateOf(HWND window) {
    return reinterpret_cast<FlagState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Notify(HWND window, WORD code = BN_CLICKED) {
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                 reinterpret_cast<LPARAM>(window));
}

main_window::SchemeColour SchemeColourOf(int index) {
    const COLORREF c = GetSysColor(index);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// Only system colours, so that a high-contrast scheme applies: the face, and for the pressed flag a
// frame that stands out from it by 3:1 in every scheme (a latched button's dither and grey edge do
// not).
void Paint(HWND window, const FlagState& state) {
    const ScopedPaint paint(window);
    const HDC dc = paint.get();
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunken = (state.pushing && state.hot) || state.spaceDown;
    if (state.down) {
        RECT frame = rect;
        const int colour = main_window::FrameInHighlight(SchemeColourOf(COLOR_BTNFACE), SchemeColourOf(COLOR_HIGHLIGHT),
                                                         SchemeColourOf(COLOR_BTNTEXT))
                               ? COLOR_HIGHLIGHT
                               : COLOR_BTNTEXT;
        for (int i = main_window::FlagFrameWidth(ScreenDpi()); i > 0; --i) {
            FrameRect(dc, &frame, GetSysColorBrush(colour));
            InflateRect(&frame, -1, -1);
        }
    }
    if (sunken) {
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    } else if (state.hot && !state.down && IsWindowEnabled(window)) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }

    if (state.bitmap) {
        BITMAP info{};
        GetObjectW(state.bitmap, sizeof(info), &info);
        const int offset = sunken ? 1 : 0;
        const int x = (rect.right - info.bmWidth) / 2 + offset;
        const int y = (rect.bottom - info.bmHeight) / 2 + offset;
        const ScopedCompatibleDC source(dc);
        const ScopedSelectObject selected(source.get(), state.bitmap);
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
    if (GetFocus() == window) {
        // Just inside the pressed frame, so that both show.
        RECT focus = rect;
        const int inset = main_window::FlagFrameWidth(ScreenDpi());
        InflateRect(&focus, -inset, -inset);
        const ScopedColors colors(dc, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE));
        DrawFocusRect(dc, &focus);
    }
}

void SetHot(HWND window, FlagState& state, bool hot) {
    if (state.hot == hot) return;
    state.hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(window, nullptr, FALSE);
}

bool ContainsCursor(HWND window, LPARAM lParam) {
    RECT rect;
    GetClientRect(window, &rect);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&rect, point) != FALSE;
}

LRESULT CALLBACK FlagButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FlagState* state = StateOf(window);
    switch (message) {
        case WM_NCCREATE: {
            auto owned = std::make_unique<FlagState>();
            owned->bitmap = static_cast<HBITMAP>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            // The window owns its state from here until WM_NCDESTROY takes it back.
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
            break;
        }
        case WM_NCDESTROY: {
            const std::unique_ptr<FlagState> owned(state);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        }
        case WM_PAINT:
            if (state) {
                Paint(window, *state);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
            SetHot(window, *state, ContainsCursor(window, lParam) || (state->pushing && GetCapture() == window));
            if (state->pushing) InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_MOUSELEAVE:
            if (!state->pushing) SetHot(window, *state, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click takes the focus as a button's does, through the dialog manager.
            SendMessageW(GetAncestor(window, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
            state->pushing = true;
            state->hot = true;
            SetCapture(window);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            const bool click = state->pushing && ContainsCursor(window, lParam);
            state->pushing = false;
            if (GetCapture() == window) ReleaseCapture();
            SetHot(window, *state, ContainsCursor(window, lParam));
            InvalidateRect(window, nullptr, FALSE);
            if (click) Notify(window);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_ENABLE:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            state->spaceDown = false;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !state->spaceDown) {
                state->spaceDown = true;
                InvalidateRect(window, nullptr, FALSE);
            } else if (wParam == VK_RETURN && (lParam & (1 << 30)) == 0) {
                Notify(window, kFlagEnterNotification);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && state->spaceDown) {
                state->spaceDown = false;
                InvalidateRect(window, nullptr, FALSE);
                Notify(window);
            }
            return 0;
        case WM_CHAR:
            return 0;
        case WM_GETOBJECT: {
            static const AccessibleTraits kToggleButton{ROLE_SYSTEM_PUSHBUTTON, true, true, {}};
            if (const std::optional<LRESULT> answer = AnswerGetObject(window, wParam, lParam, kToggleButton))
                return *answer;
            break;
        }
        case WM_CAPTURECHANGED:
            if (state->pushing) {
                state->pushing = false;
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case BM_CLICK:
            if (IsWindowEnabled(window)) Notify(window);
            return 0;
        case BM_GETCHECK:
            return state->down ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            if (state->down != (wParam == BST_CHECKED)) {
                state->down = wParam == BST_CHECKED;
                InvalidateRect(window, nullptr, FALSE);
                NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
            }
            return 0;
        case WM_GETDLGCODE: {
            // Enter on a flag is the flag's, not the default button's (the dialog manager would
            // start the update), and so are letters: a bare "u" would press "Uaktualnij" by its
            // access key, which takes Alt here. The arrows stay the dialog manager's, which moves
            // in the group.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter =
                key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN;
            return DLGC_BUTTON | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateFlagButton(HWND parent, int id, const PixelRect& rect, std::u16string_view name, HBITMAP bitmap) {
    WNDCLASSEXW flagClass{};
    flagClass.style = CS_HREDRAW | CS_VREDRAW;
    flagClass.lpfnWndProc = FlagButtonProc;
    flagClass.lpszClassName = kFlagButtonClass;
    RegisterWindowClass(flagClass);
    const std::u16string text(name);
    return CreateWindowExW(0, kFlagButtonClass, Wide(text), WS_CHILD | WS_DISABLED, rect.left, rect.top, rect.width,
                           rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(),
                           bitmap);
}

void SetFlagDown(HWND button, bool down) {
    SendMessageW(button, BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsFlagDown(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace updater::app::win32
