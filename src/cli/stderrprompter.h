#pragma once
// The command line's prompter: every box the program would show becomes a
// line on standard error; questions answer No (or Cancel), pickers cancel.

#include "core/prompter.h"

namespace cli {

class StderrPrompter : public core::Prompter {
public:
    void message(core::MessageKind kind, const QString& text, const QString& caption) override;
    core::Answer confirm(core::ConfirmKind kind, const QString& text, const QString& caption) override;
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> pickFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const core::SaveRequest&) override { return std::nullopt; }
    std::optional<core::PrintTarget> choosePrinter(const QString&) override { return std::nullopt; }
};

}  // namespace cli
