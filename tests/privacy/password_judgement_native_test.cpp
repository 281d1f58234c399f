#include <gtest/gtest.h>

#include "privacy/password_judgement.h"

namespace {

using enum PasswordJudgement;

FocusFacts focusOn(std::string_view className, std::uint32_t style = 0)
{
    FocusFacts facts;
    facts.hasForeground = true;
    facts.className = className;
    facts.realClassName = className;
    facts.style = style;
    facts.eventInForeground = true;
    return facts;
}

struct JudgementCase {
    const char* name;
    FocusFacts facts;
    PasswordJudgement expected;
};

FocusFacts with(FocusFacts facts, void (*change)(FocusFacts&))
{
    change(facts);
    return facts;
}

TEST(PasswordJudgement, ClassicFieldsByStyleOthersByAccessibilityUnlessNothingNewIsKnown)
{
    constexpr std::uint32_t passwordStyle = 0x20; // ES_PASSWORD
    const JudgementCase cases[] = {
        {"no foreground window", FocusFacts{}, notPassword},
        {"edit control with the password style", focusOn("Edit", 0x50010000 | passwordStyle), password},
        {"plain edit control", focusOn("Edit", 0x50010000), notPassword},
        {"class name in other letter case", focusOn("EDIT", passwordStyle), password},
        {"rich edit of any version", focusOn("RichEdit20W", passwordStyle), password},
        {"rich edit 1.0", focusOn("RICHEDIT", passwordStyle), password},
        {"edit superclassed by a framework",
            with(focusOn("WindowsForms10.EDIT", passwordStyle),
                [](FocusFacts& f) { f.realClassName = "Edit"; }),
            password},
        {"password style on a control that is no edit", focusOn("Button", passwordStyle), askFocusedPart},
        {"this program's own window", with(focusOn("Static"), [](FocusFacts& f) { f.ownProcess = true; }),
            notPassword},
        {"hung program", with(focusOn("Chrome_RenderWidgetHostHWND"), [](FocusFacts& f) { f.hung = true; }),
            notPassword},
        {"hung program's classic field is still read",
            with(focusOn("Edit", passwordStyle), [](FocusFacts& f) { f.hung = true; }), password},
        {"focus event in the foreground window",
            with(focusOn("TaveloPad"), [](FocusFacts& f) { f.event = FocusEventKind::focus; }),
            askEventObject},
        {"focus event of a program in the background",
            with(focusOn("TaveloPad"),
                [](FocusFacts& f) {
                    f.event = FocusEventKind::focus;
                    f.eventInForeground = false;
                }),
            unchanged},
    };
    for (const JudgementCase& row : cases)
        EXPECT_EQ(judgePasswordFocus(row.facts), row.expected) << row.name;
}

} // namespace
