#include "cli/stderrprompter.h"

#include "cli/cliargs.h"

namespace cli {

void StderrPrompter::message(core::MessageKind, const QString& text, const QString&)
{
    Err(text);
}

core::Answer StderrPrompter::confirm(core::ConfirmKind kind, const QString& text, const QString&)
{
    Err(text);
    return kind == core::ConfirmKind::YesNo ? core::Answer::No : core::Answer::Cancel;
}

}  // namespace cli
