#include "DesktopTree.h"

#include <commctrl.h>

namespace testsupport {
namespace {

int paints = 0;

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if (message == WM_PAINT) {
        ++paints;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void RegisterPlainClass(const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

LRESULT Query(HWND list, UINT message) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, message, 0, 0, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

DesktopTree::DesktopTree(const DesktopTreeShape& shape) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterPlainClass(L"Progman");
    RegisterPlainClass(L"SHELLDLL_DefView");
    const HINSTANCE module = GetModuleHandleW(nullptr);
    progman_ =
        CreateWindowExW(0, L"Progman", shape.progmanTitle.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        0, 0, 400, 300, nullptr, nullptr, module, nullptr);
    HWND parent = progman_;
    if (shape.withView) {
        const HWND view =
            CreateWindowExW(0, L"SHELLDLL_DefView", shape.viewTitle.c_str(), WS_CHILD | WS_VISIBLE,
                            0, 0, 400, 300, progman_, nullptr, module, nullptr);
        parent = shape.listInView ? view : progman_;
    }
    list_ =
        CreateWindowExW(0, WC_LISTVIEWW, shape.listTitle.c_str(), WS_CHILD | WS_VISIBLE | LVS_ICON,
                        0, 0, 400, 300, parent, nullptr, module, nullptr);
    for (int i = 0; i < shape.items; ++i) {
        std::wstring caption = L"Icon " + std::to_wstring(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = caption.data();
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetWindowSubclass(list_, CountPaints, 1, 0);
    UpdateWindow(progman_);
    paints = 0;
}

DesktopTree::~DesktopTree() {
    RemoveWindowSubclass(list_, CountPaints, 1);
    DestroyWindow(progman_);
}

COLORREF DesktopTree::TextColour() const {
    return ListTextColour(list_);
}
COLORREF DesktopTree::TextBackgroundColour() const {
    return ListTextBackgroundColour(list_);
}
int DesktopTree::Paints() const {
    return paints;
}

COLORREF ListTextColour(HWND list) {
    return static_cast<COLORREF>(Query(list, LVM_GETTEXTCOLOR));
}

COLORREF ListTextBackgroundColour(HWND list) {
    return static_cast<COLORREF>(Query(list, LVM_GETTEXTBKCOLOR));
}

}  // namespace testsupport
