#pragma once

// A desktop icon list made by the test itself: a top-level "Progman" window,
// a "SHELLDLL_DefView" child and a real comctl32 list view ("SysListView32"),
// each with a title of the test's choice, so that the shell's own tree and
// near misses of it can be built.

#include <windows.h>

#include <string>

namespace testsupport {

struct DesktopTreeShape {
    std::wstring progmanTitle = L"Program Manager";
    bool withView = true;
    std::wstring viewTitle;
    bool listInView = true;  // false: the list hangs straight under Progman
    std::wstring listTitle;
    int items = 5;
};

class DesktopTree {
public:
    explicit DesktopTree(const DesktopTreeShape& shape = {});
    ~DesktopTree();
    DesktopTree(const DesktopTree&) = delete;
    DesktopTree& operator=(const DesktopTree&) = delete;

    HWND list() const { return list_; }
    COLORREF TextColour() const;
    COLORREF TextBackgroundColour() const;
    // WM_PAINT messages the list has had since it was made.
    int Paints() const;

private:
    HWND progman_ = nullptr;
    HWND list_ = nullptr;
};

// Reads a list view's colours, also one in another process.
COLORREF ListTextColour(HWND list);
COLORREF ListTextBackgroundColour(HWND list);

}  // namespace testsupport
