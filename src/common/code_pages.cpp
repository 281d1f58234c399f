#include "common/code_pages.h"

#include <windows.h>

#include <type_traits>

namespace {

constexpr UINT kProgramCodePage = 932;

std::wstring widened(UINT codePage, const char* text, int length)
{
    const int size = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, text, length, wide.data(), size);
    return wide;
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

std::string toSystemCodePage(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
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
