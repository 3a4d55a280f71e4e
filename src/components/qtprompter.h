#pragma once
// The Prompter of the running program: Qt message boxes, input boxes, file
// and folder dialogs and the print dialog. Paths cross this boundary in drive
// form; the dialogs see POSIX paths.

#include "core/prompter.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace comp {

class QtPrompter : public core::Prompter {
public:
    void message(core::MessageKind kind, const QString& text, const QString& caption = QString()) override;
    core::Answer confirm(core::ConfirmKind kind, const QString& text, const QString& caption = QString()) override;
    core::Answer confirmWithDefault(core::ConfirmKind kind, const QString& text, core::Answer defaultButton,
                                    const QString& caption = QString()) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<QString> pickFolder(const QString& caption, const QString& initialFolder) override;
    std::optional<QString> saveFile(const core::SaveRequest& request) override;
    std::optional<core::PrintTarget> choosePrinter(const QString& caption) override;
    std::optional<QString> openFile(const core::OpenRequest& request) override;
    std::optional<QFont> chooseFont(const QString& caption, const QFont& initial, bool fixedPitchOnly) override;
    bool pageSetup(const QString& caption, core::PageSetup& setup) override;
    std::optional<core::PrintChoice> choosePrintRange(const QString& caption, bool offerSelection) override;

    // "HTM files|*.htm|All files|*.*" -> "HTM files (*.htm);;All files (*)".
    // Patterns separated by ';' become a blank-separated list; "*.*" is "*"
    // because a POSIX file name need not have an extension.
    static QStringList toQtFilters(const QString& filter);
    // The folder and file name a save dialog starts with: a drive path is
    // mapped to POSIX; a bare name goes into the program's current folder.
    static QString initialSavePath(const QString& initialName);
    // The buttons of a confirmation box: the kind's, with Enter on
    // defaultButton (the kind's standard one when it has no such button) and
    // Esc on No or Cancel.
    static void setConfirmButtons(QMessageBox& box, core::ConfirmKind kind, core::Answer defaultButton);

private:
    static QWidget* parentWidget();
    static QString boxCaption(const QString& caption);
};

}  // namespace comp
