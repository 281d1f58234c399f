#include "privacy/judge_mailbox.h"

namespace {

// Past this many asking threads held in other programs, a new question waits for one of them.
constexpr int kMaxWorkers = 4;

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

bool JudgeMailbox::enlist(const FocusQuestion& question)
{
    const Exclusive held(lock);
    if (workers >= kMaxWorkers) {
        waiting = question;
        return false;
    }
    ++workers;
    return true;
}

bool JudgeMailbox::nextOrLeave(FocusQuestion& question)
{
    const Exclusive held(lock);
    if (waiting.number == open && answerWanted && waiting.asked) {
        question = waiting;
        waiting = FocusQuestion{};
        return true;
    }
    --workers;
    return false;
}

void JudgeMailbox::leave()
{
    const Exclusive held(lock);
    --workers;
}
