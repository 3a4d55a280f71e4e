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

    // The viewer's dialogs. openFile answers from the queue (a QString);
    // the others from queues of their own, cancelled when empty. Each is
    // recorded in a list of its own: Open with the filter, Font and
    // PageSetup with the caption, PrintRange with "selection" when the
    // selection was offered, else "all".
    std::optional<QString> openFile(const OpenRequest& request) override;
    std::optional<QFont> chooseFont(const QString& caption, const QFont& initial, bool fixedPitchOnly) override;
    bool pageSetup(const QString& caption, PageSetup& setup) override;
    std::optional<PrintChoice> choosePrintRange(const QString& caption, bool offerSelection) override;
    void queueFont(std::optional<QFont> font) { fonts_.push_back(std::move(font)); }
    void queuePageSetup(std::optional<PageSetup> setup) { pageSetups_.push_back(std::move(setup)); }
    void queuePrintChoice(std::optional<PrintChoice> choice) { printChoices_.push_back(std::move(choice)); }
    enum class ViewerKind { Open, Font, PageSetup, PrintRange };
    QStringList viewerTexts(ViewerKind kind) const;

private:
    Reply next();
    QList<Record> records_;
    std::deque<Reply> replies_;
    std::deque<std::optional<QFont>> fonts_;
    std::deque<std::optional<PageSetup>> pageSetups_;
    std::deque<std::optional<PrintChoice>> printChoices_;
    struct ViewerRecord {
        ViewerKind kind;
        QString text;
    };
    QList<ViewerRecord> viewerRecords_;
};

}  // namespace core
