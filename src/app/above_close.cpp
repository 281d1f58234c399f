#include "app/above_close.h"

#include <string>

#include "common/code_pages.h"

namespace {

int positionOfClose(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (GetMenuItemID(menu, position) == SC_CLOSE)
            return position;
    }
    return count;
}

} // namespace

void insertAboveClose(HMENU menu, UINT command, const char* text, HBITMAP bitmap)
{
    std::wstring wide = programText(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | (bitmap ? MIIM_BITMAP : 0);
    item.wID = command;
    item.dwTypeData = wide.data();
    item.hbmpItem = bitmap;
    InsertMenuItemW(menu, static_cast<UINT>(positionOfClose(menu)), TRUE, &item);
}
