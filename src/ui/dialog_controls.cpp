#include "ui/dialog_controls.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>

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
    SetWindowTextA(control, text);
}

std::string getControlText(HWND control, int maxBytes)
{
    std::string text(static_cast<size_t>(maxBytes) + 1, '\0');
    GetWindowTextA(control, text.data(), maxBytes + 1);
    text.resize(std::strlen(text.c_str()));
    dropSplitCharacter(text);
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

void dropSplitCharacter(std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        if (!IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
            ++i;
            continue;
        }
        if (i + 1 == text.size()) {
            text.pop_back();
            return;
        }
        i += 2;
    }
}
