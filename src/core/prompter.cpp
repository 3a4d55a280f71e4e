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

Prompter& prompter()
{
    return current ? *current : fallback();
}

void setPrompter(Prompter* p)
{
    current = p;
}

}  // namespace core
