#include "privacy/password_judgement.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::uint32_t kPasswordStyle = 0x0020; // ES_PASSWORD

bool sameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool isEditClassName(std::string_view name)
{
    return sameLetters(name, "Edit") || (name.size() >= 8 && sameLetters(name.substr(0, 8), "RichEdit"));
}

} // namespace

PasswordJudgement judgePasswordFocus(const FocusFacts& facts)
{
    if (!facts.hasForeground)
        return PasswordJudgement::notPassword;
    if (isEditClassName(facts.className) || isEditClassName(facts.realClassName))
        return (facts.style & kPasswordStyle) ? PasswordJudgement::password : PasswordJudgement::notPassword;
    // This program has no password field, and asking itself through COM would only cost memory.
    if (facts.ownProcess)
        return PasswordJudgement::notPassword;
    // A hung program would not answer the question in time: its field counts as one that never
    // answered, an ordinary one, wherever the focus came from.
    if (facts.hung)
        return PasswordJudgement::notPassword;
    if (facts.event == FocusEventKind::foreground)
        return PasswordJudgement::askFocusedPart;
    // A program in the background may move its own focus; only the foreground window's counts.
    return facts.eventInForeground ? PasswordJudgement::askEventObject : PasswordJudgement::unchanged;
}
