#include <windows.h>

#include "app/win32/window_support.h"

#include <mutex>

#include "app/window_layout.h"
#include "localisation/win32/interface_font.h"

namespace updater::app::win32 {
namespace {

constexpr wchar_t kPanelClass[] = L"UpdaterPanel";
constexpr UINT kLabelDrawFlags = DT_EXPANDTABS | DT_NOPREFIX;

const wchar_t* Wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

HBRUSH WhiteBrush() {
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
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
                SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(WhiteBrush());
            }
            break;
        case WM_ERASEBKGND: {
            RECT rect;
            GetClientRect(window, &rect);
            FillRect(reinterpret_cast<HDC>(wParam), &rect, white ? WhiteBrush() : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterPanelClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = ModuleInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClass;
        RegisterClassExW(&wc);
    });
}

}  // namespace

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

int Scaled(int designPixels) {
    return ScaleFromDesign(designPixels, ScreenDpi());
}

void FontDeleter::operator()(HFONT font) const {
    DeleteObject(font);
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
    HDC dc = GetDC(window);
    if (!dc) return {};
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, wrapWidth.value_or(0), 0};
    UINT flags = DT_CALCRECT | kLabelDrawFlags;
    if (wrapWidth) flags |= DT_WORDBREAK;
    // An empty text still has the height of one line.
    const std::u16string_view measured = text.empty() ? std::u16string_view(u" ") : text;
    DrawTextW(dc, Wide(measured), static_cast<int>(measured.size()), &rect, flags);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void AutoSizeLabel(HWND label) {
    const PixelSize size = MeasureText(label, Caption(label), std::nullopt);
    SetWindowPos(label, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreatePanel(HWND parent, const PixelRect& rect, bool white) {
    RegisterPanelClass();
    HWND panel =
        CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                        rect.top, rect.width, rect.height, parent, nullptr, ModuleInstance(), nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, white ? 1 : 0);
    return panel;
}

}  // namespace updater::app::win32
