#include <windows.h>

#include "app/win32/flag_button.h"

#include <memory>

#include "app/win32/scoped_gdi.h"
#include "app/window_layout.h"

namespace updater::app::win32 {
namespace {

struct FlagState {
    HBITMAP bitmap = nullptr;
    bool down = false;
    bool hot = false;      // under the mouse
    bool pushing = false;  // mouse button held down over it
};

FlagState* StateOf(HWND window) {
    return reinterpret_cast<FlagState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Notify(HWND window) {
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

// A checked-down button shows a light dither behind its image, like a latched tool button.
void FillDownBackground(HDC dc, const RECT& rect) {
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    const Bitmap pattern(CreateBitmap(8, 8, 1, 1, kPattern));
    const Brush brush(CreatePatternBrush(pattern.get()));
    const ScopedColors colors(dc, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &rect, brush.get());
}

void Paint(HWND window, const FlagState& state) {
    const ScopedPaint paint(window);
    const HDC dc = paint.get();
    RECT rect;
    GetClientRect(window, &rect);
    const bool sunken = state.down || (state.pushing && state.hot);
    if (state.down && !(state.pushing && state.hot)) {
        FillDownBackground(dc, rect);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (sunken) {
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    } else if (state.hot && IsWindowEnabled(window)) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }

    if (state.bitmap) {
        const int width = Scaled(main_window::kFlagImageWidth);
        const int height = Scaled(main_window::kFlagImageHeight);
        const int offset = sunken ? 1 : 0;
        const int x = (rect.right - width) / 2 + offset;
        const int y = (rect.bottom - height) / 2 + offset;
        const ScopedCompatibleDC source(dc);
        const ScopedSelectObject selected(source.get(), state.bitmap);
        BITMAP info{};
        GetObjectW(state.bitmap, sizeof(info), &info);
        if (info.bmWidth == width && info.bmHeight == height) {
            BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, x, y, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        }
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
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
            break;
        }
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
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
        case WM_CAPTURECHANGED:
            if (state->pushing) {
                state->pushing = false;
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case WM_ENABLE:
            InvalidateRect(window, nullptr, FALSE);
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
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON;
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
