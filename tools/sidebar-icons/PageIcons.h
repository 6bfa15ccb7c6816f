#pragma once
// The side bar's page pictures: one 32 x 32 icon per page of the main window,
// drawn with GDI on the bar's grey. The main window's layout stores them (its
// side bar's Items.Images); tqsidebaricons writes that property from here.
#include <windows.h>

#include <string>

namespace tq {

// The pages in side-bar order.
constexpr const char* PageIconCaptions[] = {"Info",         "Directories", "Choices", "Registry",
                                            "Shortcuts",    "Environment", "Associations", "Modules",
                                            "Gui",          "Msi",         "Build",   "Updates"};
constexpr int PageIconCount = 12;

// A new 32 x 32 bitmap (screen format) holding the icon of page index (0-based).
HBITMAP DrawPageIcon(int index);

}  // namespace tq
