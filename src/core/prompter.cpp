#include "core/prompter.h"

#include "core/scriptedprompter.h"

namespace core {

namespace {
Prompter* current = nullptr;

// Before the program or a test sets a prompter, nothing may block on a box:
// a silent scripted one answers No/Cancel.
Prompter& fallback()
{
    static ScriptedPrompter silent;
    return silent;
}
}  // namespace

Answer StandardDefault(ConfirmKind kind)
{
    return kind == ConfirmKind::OkCancel ? Answer::Ok : Answer::Yes;
}

bool HasButton(ConfirmKind kind, Answer answer)
{
    switch (kind) {
    case ConfirmKind::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case ConfirmKind::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    case ConfirmKind::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    }
    return false;
}

Prompter& prompter()
{
    return current ? *current : fallback();
}

void setPrompter(Prompter* p)
{
    current = p;
}

}  // namespace core
