#include "common/code_pages.h"

#include <windows.h>

#include <type_traits>

static_assert(kUtf8CodePage == CP_UTF8);

namespace {

constexpr UINT kProgramCodePage = 932;

// Empty when the conversion fails.
std::wstring widened(UINT codePage, const char* text, int length, DWORD flags = 0)
{
    const int size = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, flags, text, length, wide.data(), size);
    return wide;
}

// Empty when the conversion fails; usedDefault, when given, tells whether a character had to be
// replaced.
std::string narrowed(UINT codePage, const std::wstring& text, DWORD flags, BOOL* usedDefault)
{
    const int length = static_cast<int>(text.size());
    const int size
        = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefault);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr, usedDefault);
    return bytes;
}

} // namespace

std::wstring programText(const char* text)
{
    std::wstring wide = widened(kProgramCodePage, text, -1);
    if (!wide.empty())
        wide.pop_back(); // the terminator, converted with the text
    return wide;
}

std::wstring fromSystemCodePage(const std::string& text)
{
    return text.empty() ? std::wstring() : widened(CP_ACP, text.data(), static_cast<int>(text.size()));
}

std::string toSystemCodePage(const std::wstring& text) { return narrowed(CP_ACP, text, 0, nullptr); }

std::optional<std::wstring> fromCodePageExactly(std::string_view text, unsigned codePage)
{
    if (text.empty())
        return std::wstring();
    std::wstring wide = widened(codePage, text.data(), static_cast<int>(text.size()), MB_ERR_INVALID_CHARS);
    if (wide.empty())
        return std::nullopt;
    return wide;
}

std::optional<std::string> toCodePageExactly(const std::wstring& text, unsigned codePage)
{
    if (text.empty())
        return std::string();
    // UTF-8 spells every character but a lone surrogate; it takes neither the flag nor the question.
    const bool utf8 = codePage == kUtf8CodePage;
    BOOL usedDefault = FALSE;
    std::string bytes = narrowed(
        codePage, text, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, utf8 ? nullptr : &usedDefault);
    if (bytes.empty() || usedDefault)
        return std::nullopt;
    return bytes;
}

namespace {

CodePage systemCodePageCache;
bool systemCodePageKnown = false;

} // namespace

const CodePage& systemCodePage()
{
    // Asked once, on the window's thread. A function-local static would bring the runtime's guard
    // code, about 100 KiB, into the program.
    static_assert(std::is_trivially_destructible_v<CodePage>);
    if (!systemCodePageKnown) {
        const UINT number = GetACP();
        CPINFO info{};
        systemCodePageCache
            = GetCPInfo(number, &info) ? codePageWithLeadBytes(number, info.LeadByte) : CodePage{number};
        systemCodePageKnown = true;
    }
    return systemCodePageCache;
}
