#include "ui/dialog_controls.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "common/code_pages.h"
#include "settings/value_rules.h"

namespace {

constexpr int kTextBufferSize = 256;

bool isAtoiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

bool isButtonChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setButtonChecked(HWND control, bool checked)
{
    SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int getEditInt(HWND control)
{
    char text[kTextBufferSize] = {};
    GetWindowTextA(control, text, sizeof text);
    return parseLeadingInt(text);
}

void setEditInt(HWND control, int value)
{
    char text[kTextBufferSize] = {};
    std::to_chars(text, text + sizeof text - 1, value);
    SetWindowTextW(control, fromSystemCodePage(text).c_str());
}

void setControlText(HWND control, const std::string& text)
{
    SetWindowTextW(control, fromSystemCodePage(text).c_str());
}

std::string getControlText(HWND control, int maxBytes)
{
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(control, wide.data(), static_cast<int>(wide.size()))));
    std::string text = toSystemCodePage(wide);
    keepWholeCharacters(text, static_cast<size_t>(maxBytes), systemCodePage());
    return text;
}

int parseLeadingInt(const char* text)
{
    while (isAtoiSpace(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // The magnitude stops growing one past INT_MAX, which is exactly INT_MIN's magnitude.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        magnitude = std::min(kLimit, magnitude * 10 + (*text - '0'));
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(std::min<long long>(magnitude, INT_MAX));
}
