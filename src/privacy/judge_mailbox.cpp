#include "privacy/judge_mailbox.h"

namespace {

class Exclusive {
public:
    explicit Exclusive(SRWLOCK& lock)
        : lock(lock)
    {
        AcquireSRWLockExclusive(&lock);
    }
    ~Exclusive() { ReleaseSRWLockExclusive(&lock); }
    Exclusive(const Exclusive&) = delete;
    Exclusive& operator=(const Exclusive&) = delete;

private:
    SRWLOCK& lock;
};

} // namespace

// Posting under the lock keeps the window's news in the order that the questions were opened.
void JudgeMailbox::post(WPARAM news) const
{
    if (window)
        PostMessageA(window, WM_PASSWORD_JUDGE, news, 0);
}

unsigned JudgeMailbox::openQuestion()
{
    const Exclusive held(lock);
    answerWanted = true;
    post(kFocusMoved);
    return ++open;
}

void JudgeMailbox::answer(unsigned question, bool password)
{
    const Exclusive held(lock);
    if (question != open || !answerWanted)
        return;
    answerWanted = false;
    post(password ? kPasswordFocused : kNotPasswordFocused);
}

void JudgeMailbox::tell(unsigned question, PasswordJudgeNews news)
{
    const Exclusive held(lock);
    if (question == open && answerWanted)
        post(news);
}

void JudgeMailbox::close()
{
    const Exclusive held(lock);
    window = nullptr;
    answerWanted = false;
}
