#pragma once
// Every message box, confirmation, input box, folder picker, save dialog and
// print dialog of the program goes through the Prompter in use: a Qt one in
// the program, a scripted one in tests.

#include <QFont>
#include <QPageLayout>
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
    int filterIndex = 0;     // the filter chosen when the dialog opens
};

// Where a print job goes: a printer by name, or a PDF file (drive path).
struct PrintTarget {
    QString printerName;
    QString pdfFile;
};

// An open dialog for one existing file.
struct OpenRequest {
    QString caption;
    QString filter;  // "All Files (*.*)|*.*"
    QString initialFolder;  // drive path, may be empty
};

// The printer setup: the printer chosen (empty = the default one) and the
// page layout; kept by the window that asked for it.
struct PageSetup {
    QString printerName;
    QPageLayout layout;
};

// The print dialog's answer when it may offer to print only the selection.
struct PrintChoice {
    PrintTarget target;
    bool selectionOnly = false;
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

    // The viewer's dialogs. A prompter that cannot show them answers
    // "cancelled".
    // An existing file (drive path), or nothing.
    virtual std::optional<QString> openFile(const OpenRequest& request) { return std::nullopt; }
    // A font; fixedPitchOnly offers fixed-pitch fonts only.
    virtual std::optional<QFont> chooseFont(const QString& caption, const QFont& initial, bool fixedPitchOnly)
    {
        return std::nullopt;
    }
    // Printer setup; true when the user accepted (setup then holds the choice).
    virtual bool pageSetup(const QString& caption, PageSetup& setup) { return false; }
    // The print dialog offering all or, when offerSelection, the selection;
    // never a range of pages.
    virtual std::optional<PrintChoice> choosePrintRange(const QString& caption, bool offerSelection)
    {
        return std::nullopt;
    }
};

// The prompter in use. Never null once the program or a test has set one;
// before that a scripted prompter that answers No/Cancel is used.
Prompter& prompter();
void setPrompter(Prompter* p);  // not owned; nullptr restores the fallback

}  // namespace core
