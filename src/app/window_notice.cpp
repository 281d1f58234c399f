#include "app/window_notice.h"

#include "app/main_window.h"
#include "display/painting.h"

namespace {

const char* noticeNotes[WindowNoticeCount];

} // namespace

void showNotice(HWND window, WindowNotice notice, const char* note)
{
    noticeNotes[notice] = note;
    const char* shown = nullptr;
    for (const char* text : noticeNotes)
        shown = shown ? shown : text;
    SetWindowTextW(window, windowCaption(shown).c_str());
    dimPicture(window, shown != nullptr);
}
