// Small wrappers over the Win32 calls the dialog repeats, so that its code reads as intent.
// Texts given as std::string are code page 932; they cross into UTF-16 through WideText.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/WindowPlacement.h"

namespace dovarin::win32 {

std::wstring WindowText(HWND hwnd);
void SetControlText(HWND hwnd, std::string_view cp932);

// Drop-down lists: the selected item's index, or kNoSelection.
int SelectedIndex(HWND combo);
// Selects the item, or no item for kNoSelection or an index the list has no item for.
void SelectItem(HWND combo, int index);
void SetItems(HWND combo, const std::vector<std::string>& cp932Items);

bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

// Turns a window style bit on or off.
void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on);

// Screen rectangles.
RECT WindowRect(HWND hwnd);
// Every monitor's work area (the screen less the task bar), the primary monitor first.
std::vector<ScreenRect> WorkAreas();

}  // namespace dovarin::win32
