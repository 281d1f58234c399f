#include "privacy/accessibility_worker.h"

namespace {

// A program that does not take a message this soon earns no longer wait than any other.
constexpr UINT kAnswerProbeMs = 100;

struct Assignment {
    std::shared_ptr<JudgeMailbox> mailbox;
    FocusQuestion question;
};

bool ask(const AccessibilityLibrary& library, const FocusQuestion& question)
{
    AccessibleState accessibility(library);
    if (question.aboutEventObject)
        return accessibility.eventObjectIsProtected(question.asked, question.object, question.child);
    return accessibility.focusedPartIsProtected(question.asked);
}

DWORD WINAPI askingThread(void* parameter)
{
    const std::unique_ptr<Assignment> assignment(static_cast<Assignment*>(parameter));
    JudgeMailbox& mailbox = *assignment->mailbox;
    FocusQuestion question = assignment->question;
    do {
        // A program that takes a message at once is worth a longer wait for its answer.
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(
                question.asked, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerProbeMs, &result))
            mailbox.tell(question.number, kFocusOwnerAnswers);
        mailbox.answer(question.number, ask(mailbox.library, question));
    } while (mailbox.nextOrLeave(question));
    return 0;
}

} // namespace

bool askOnWorker(const std::shared_ptr<JudgeMailbox>& mailbox, const FocusQuestion& question)
{
    if (!mailbox->enlist(question))
        return true;
    auto assignment = std::make_unique<Assignment>(Assignment{mailbox, question});
    const HANDLE thread = CreateThread(nullptr, 0, askingThread, assignment.get(), 0, nullptr);
    if (!thread) {
        mailbox->leave();
        return false;
    }
    assignment.release(); // the thread's own from here on
    CloseHandle(thread);
    return true;
}
