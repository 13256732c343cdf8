#include <windows.h>

#include "app/win32/window_support.h"

#include "app/win32/resource_ids.h"
#include "app/window_layout.h"
#include "localisation/win32/interface_font.h"

namespace updater::app::win32 {

using base::win32::ScopedGetDC;
using base::win32::ScopedSelectObject;

namespace {

constexpr wchar_t kPanelClass[] = L"UpdaterPanel";
constexpr UINT kLabelDrawFlags = DT_EXPANDTABS | DT_NOPREFIX;

// The "white" top strip is the window colour, white in the usual schemes; in a high-contrast one it
// follows the scheme with the text drawn on it.
HBRUSH WindowColourBrush() {
    return GetSysColorBrush(COLOR_WINDOW);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool white = GetWindowLongPtrW(window, GWLP_USERDATA) != 0;
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
            // Controls report to their parent; the top-level window decides.
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            if (white) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(WindowColourBrush());
            }
            break;
        case WM_ERASEBKGND: {
            RECT rect;
            GetClientRect(window, &rect);
            FillRect(reinterpret_cast<HDC>(wParam), &rect,
                     white ? WindowColourBrush() : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* handler = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (handler && message != WM_NCCREATE) {
        if (const std::optional<LRESULT> answer = handler->HandleMessage(message, wParam, lParam)) return *answer;
    }
    return DefDlgProcW(window, message, wParam, lParam);
}

HICON ProgramIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(UPDATER_IDI_APPLICATION), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

bool IsRegistered(const wchar_t* className) {
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof(registered);
    return GetClassInfoExW(ModuleInstance(), className, &registered) != FALSE;
}

}  // namespace

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

void RegisterWindowClass(WNDCLASSEXW windowClass) {
    if (IsRegistered(windowClass.lpszClassName)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassExW(&windowClass);
}

int ScreenDpi() {
    static const int dpi = [] {
        const ScopedGetDC screen(nullptr);
        const int value = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : kDesignDpi;
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

int Scaled(int designPixels) {
    return ScaleFromDesign(designPixels, ScreenDpi());
}

Font MakeInterfaceFont(int designHeight, bool bold, Language language) {
    LOGFONTW font{};
    font.lfHeight = -Scaled(designHeight);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    localisation::win32::ApplyInterfaceFont(font, language);
    return Font(CreateFontIndirectW(&font));
}

void SetWindowFont(HWND window, HFONT font) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SetCaption(HWND window, std::u16string_view text) {
    const std::u16string terminated(text);
    SetWindowTextW(window, Wide(terminated));
}

std::u16string Caption(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

PixelSize MeasureText(HWND window, std::u16string_view text, std::optional<int> wrapWidth) {
    const ScopedGetDC dc(window);
    if (!dc.get()) return {};
    const ScopedSelectObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, wrapWidth.value_or(0), 0};
    UINT flags = DT_CALCRECT | kLabelDrawFlags;
    if (wrapWidth) flags |= DT_WORDBREAK;
    // An empty text still has the height of one line.
    const std::u16string_view measured = text.empty() ? std::u16string_view(u" ") : text;
    DrawTextW(dc.get(), Wide(measured), static_cast<int>(measured.size()), &rect, flags);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void AutoSizeLabel(HWND label) {
    const PixelSize size = MeasureText(label, Caption(label), std::nullopt);
    SetWindowPos(label, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateControl(HWND parent, const wchar_t* className, DWORD style, int id, const PixelRect& rect,
                   const wchar_t* text) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.width,
                           rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(),
                           nullptr);
}

HWND CreatePanel(HWND parent, const PixelRect& rect, bool white) {
    WNDCLASSEXW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.lpszClassName = kPanelClass;
    RegisterWindowClass(panelClass);
    HWND panel =
        CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                        rect.top, rect.width, rect.height, parent, nullptr, ModuleInstance(), nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, white ? 1 : 0);
    return panel;
}

HWND CreateDialogWindow(DialogWindow& handler, const DialogWindowClass& windowClass, DWORD style, DWORD exStyle,
                        PixelSize client, HWND owner) {
    // The icon is loaded only for the registration, once.
    if (!IsRegistered(windowClass.name)) {
        WNDCLASSEXW dialogClass{};
        dialogClass.lpfnWndProc = DialogWindowProc;
        dialogClass.cbWndExtra = DLGWINDOWEXTRA;
        if (windowClass.programIcon) {
            dialogClass.hIcon = ProgramIcon(SM_CXICON, SM_CYICON);
            dialogClass.hIconSm = ProgramIcon(SM_CXSMICON, SM_CYSMICON);
        }
        dialogClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        dialogClass.lpszClassName = windowClass.name;
        RegisterWindowClass(dialogClass);
    }
    RECT outer{0, 0, client.width, client.height};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return CreateWindowExW(exStyle, windowClass.name, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                           outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, ModuleInstance(),
                           &handler);
}

}  // namespace updater::app::win32
