#pragma once
// A Prompter for tests: records every request and answers from a queue.
// When the queue is empty a confirmation answers No (or Cancel for
// OK/Cancel), and every picker answers "cancelled".

#include "core/prompter.h"

#include <QList>
#include <QString>
#include <deque>
#include <optional>
#include <variant>

namespace core {

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Error, Warning, Info, Confirm, Input, Folder, Save, Print };
    struct Record {
        Kind kind;
        QString text;     // message, question, prompt
        QString caption;
        // Confirmations: the button Enter would have pressed.
        std::optional<Answer> defaultButton;
    };
    // A queued reply: an Answer for confirmations, a text for input, folder
    // and save requests (std::monostate = cancel), a PrintTarget for printing.
    using Reply = std::variant<std::monostate, Answer, QString, PrintTarget>;

    void queue(Reply reply) { replies_.push_back(std::move(reply)); }
    const QList<Record>& records() const { return records_; }
    QStringList texts(Kind kind) const;
    QStringList allTexts() const;
    void clear() { records_.clear(); replies_.clear(); }
    int pendingReplies() const { return int(replies_.size()); }

    void message(MessageKind kind, const QString& text, const QString& caption) override;
    Answer confirm(ConfirmKind kind, const QString& text, const QString& caption) override;
    Answer confirmWithDefault(ConfirmKind kind, const QString& text, Answer defaultButton,
                              const QString& caption) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<QString> pickFolder(const QString& caption, const QString& initialFolder) override;
    std::optional<QString> saveFile(const SaveRequest& request) override;
    std::optional<PrintTarget> choosePrinter(const QString& caption) override;

private:
    Reply next();
    QList<Record> records_;
    std::deque<Reply> replies_;
};

}  // namespace core
