#pragma once
// Every message box, confirmation, input box, folder picker, save dialog and
// print dialog of the program goes through the Prompter in use: a Qt one in
// the program, a scripted one in tests.

#include <QString>
#include <optional>

namespace core {

enum class MessageKind { Error, Warning, Info };
enum class ConfirmKind { YesNo, YesNoCancel, OkCancel };
enum class Answer { Yes, No, Cancel, Ok };

// The button a confirmation gives when the user just presses Enter: Yes, or
// OK for OK/Cancel, unless the question asks for another.
Answer StandardDefault(ConfirmKind kind);
// True when the kind's box has a button for this answer.
bool HasButton(ConfirmKind kind, Answer answer);

struct SaveRequest {
    QString caption;
    QString filter;          // "HTM files|*.htm|All files|*.*"
    QString defaultSuffix;   // ".htm"
    QString initialName;     // drive path or bare name
};

// Where a print job goes: a printer by name, or a PDF file (drive path).
struct PrintTarget {
    QString printerName;
    QString pdfFile;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal box with one OK button. Errors and warnings beep first.
    virtual void message(MessageKind kind, const QString& text, const QString& caption = QString()) = 0;
    virtual Answer confirm(ConfirmKind kind, const QString& text, const QString& caption = QString()) = 0;
    // The same question with the button that Enter presses chosen by the
    // asker: No for a question whose Yes cannot be undone. An answer the
    // kind has no button for counts as StandardDefault. A prompter that
    // shows no buttons may answer as confirm does.
    virtual Answer confirmWithDefault(ConfirmKind kind, const QString& text, Answer defaultButton,
                                      const QString& caption = QString())
    {
        (void)defaultButton;
        return confirm(kind, text, caption);
    }
    // Empty when cancelled.
    virtual std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) = 0;
    virtual std::optional<QString> pickFolder(const QString& caption, const QString& initialFolder) = 0;
    virtual std::optional<QString> saveFile(const SaveRequest& request) = 0;
    virtual std::optional<PrintTarget> choosePrinter(const QString& caption) = 0;
};

// The prompter in use. Never null once the program or a test has set one;
// before that a scripted prompter that answers No/Cancel is used.
Prompter& prompter();
void setPrompter(Prompter* p);  // not owned; nullptr restores the fallback

}  // namespace core
