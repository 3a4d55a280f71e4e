#include "components/qtprompter.h"

#include "core/helpers.h"
#include "platform/drives.h"
#include "platform/fileops.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace comp {

namespace {

QString posixText(const QString& drivePath)
{
    if (drivePath.isEmpty())
        return QString();
    const auto p = plat::toPosix(drivePath);
    return p ? QFile::decodeName(*p) : QString();
}

std::optional<QString> driveText(const QString& posixPath)
{
    if (posixPath.isEmpty())
        return std::nullopt;
    return plat::toDrivePath(QFile::encodeName(QFileInfo(posixPath).absoluteFilePath()));
}

QString qtPattern(QString pattern)
{
    pattern = pattern.trimmed();
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    return pattern;
}

}  // namespace

QWidget* QtPrompter::parentWidget()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString QtPrompter::boxCaption(const QString& caption)
{
    if (!caption.isEmpty())
        return caption;
    const QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Trovik") : title;
}

void QtPrompter::message(core::MessageKind kind, const QString& text, const QString& caption)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case core::MessageKind::Error:
        icon = QMessageBox::Critical;
        QApplication::beep();
        break;
    case core::MessageKind::Warning:
        icon = QMessageBox::Warning;
        QApplication::beep();
        break;
    case core::MessageKind::Info:
        break;
    }
    QMessageBox box(icon, boxCaption(caption), text, QMessageBox::Ok, parentWidget());
    // Messages carry names and texts from files and web sites: never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

core::Answer QtPrompter::confirm(core::ConfirmKind kind, const QString& text, const QString& caption)
{
    return confirmWithDefault(kind, text, core::StandardDefault(kind), caption);
}

void QtPrompter::setConfirmButtons(QMessageBox& box, core::ConfirmKind kind, core::Answer defaultButton)
{
    switch (kind) {
    case core::ConfirmKind::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case core::ConfirmKind::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case core::ConfirmKind::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    if (!core::HasButton(kind, defaultButton))
        defaultButton = core::StandardDefault(kind);
    QMessageBox::StandardButton button = QMessageBox::Yes;
    switch (defaultButton) {
    case core::Answer::Yes:
        button = QMessageBox::Yes;
        break;
    case core::Answer::No:
        button = QMessageBox::No;
        break;
    case core::Answer::Cancel:
        button = QMessageBox::Cancel;
        break;
    case core::Answer::Ok:
        button = QMessageBox::Ok;
        break;
    }
    box.setDefaultButton(button);
}

core::Answer QtPrompter::confirmWithDefault(core::ConfirmKind kind, const QString& text, core::Answer defaultButton,
                                            const QString& caption)
{
    QMessageBox box(QMessageBox::Question, boxCaption(caption), text, QMessageBox::NoButton, parentWidget());
    setConfirmButtons(box, kind, defaultButton);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return core::Answer::Yes;
    case QMessageBox::No:
        return core::Answer::No;
    case QMessageBox::Ok:
        return core::Answer::Ok;
    default:
        return kind == core::ConfirmKind::YesNo ? core::Answer::No : core::Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::input(const QString& caption, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parentWidget(), boxCaption(caption), prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompter::pickFolder(const QString& caption, const QString& initialFolder)
{
    const QString chosen = QFileDialog::getExistingDirectory(parentWidget(), boxCaption(caption),
                                                             posixText(initialFolder));
    if (chosen.isEmpty())
        return std::nullopt;
    const auto drivePath = driveText(chosen);
    if (!drivePath) {
        message(core::MessageKind::Error, QStringLiteral("The folder \"%1\" is not on any drive.").arg(chosen));
        return std::nullopt;
    }
    return drivePath;
}

QStringList QtPrompter::toQtFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << qtPattern(p);
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        out << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return out;
}

QString QtPrompter::initialSavePath(const QString& initialName)
{
    if (initialName.isEmpty())
        return QString();
    if (initialName.size() >= 2 && initialName[1] == QLatin1Char(':')) {
        const QString p = posixText(initialName);
        if (!p.isEmpty())
            return p;
        // A drive that does not exist: keep only the name.
        return initialName.mid(initialName.lastIndexOf(QLatin1Char('\\')) + 1);
    }
    const QString folder = plat::currentFolder();
    const QString p = folder.isEmpty() ? QString() : posixText(core::JoinPath(folder, initialName));
    return p.isEmpty() ? initialName : p;
}

std::optional<QString> QtPrompter::saveFile(const core::SaveRequest& request)
{
    QFileDialog dialog(parentWidget(), boxCaption(request.caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = request.defaultSuffix;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    const QStringList filters = toQtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex > 0 && request.filterIndex < filters.size())
            dialog.selectNameFilter(filters[request.filterIndex]);
    }
    const QString start = initialSavePath(request.initialName);
    if (!start.isEmpty()) {
        const QFileInfo info(start);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    const auto drivePath = driveText(chosen);
    if (!drivePath) {
        message(core::MessageKind::Error, QStringLiteral("The file \"%1\" is not on any drive.").arg(chosen));
        return std::nullopt;
    }
    return drivePath;
}

std::optional<core::PrintTarget> QtPrompter::choosePrinter(const QString& caption)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer on this machine: the listing goes into a PDF file.
        core::SaveRequest request;
        request.caption = caption.isEmpty() ? QStringLiteral("No printer found - save the listing as a PDF file")
                                            : caption + QStringLiteral(" - no printer found, save as PDF file");
        request.filter = QStringLiteral("PDF files|*.pdf|All files|*.*");
        request.defaultSuffix = QStringLiteral(".pdf");
        request.initialName = QStringLiteral("listing.pdf");
        const auto file = saveFile(request);
        if (!file)
            return std::nullopt;
        core::PrintTarget target;
        target.pdfFile = *file;
        return target;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parentWidget());
    dialog.setWindowTitle(boxCaption(caption));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    core::PrintTarget target;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const auto drivePath = driveText(printer.outputFileName());
        if (!drivePath) {
            message(core::MessageKind::Error,
                    QStringLiteral("The file \"%1\" is not on any drive.").arg(printer.outputFileName()));
            return std::nullopt;
        }
        target.pdfFile = *drivePath;
    } else {
        target.printerName = printer.printerName();
    }
    return target;
}

// ---- The viewer's dialogs ----------------------------------------------------

std::optional<QString> QtPrompter::openFile(const core::OpenRequest& request)
{
    QFileDialog dialog(parentWidget(), boxCaption(request.caption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = toQtFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    const QString start = posixText(request.initialFolder);
    if (!start.isEmpty())
        dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    const auto drivePath = driveText(chosen);
    if (!drivePath) {
        message(core::MessageKind::Error, QStringLiteral("The file \"%1\" is not on any drive.").arg(chosen));
        return std::nullopt;
    }
    return drivePath;
}

std::optional<QFont> QtPrompter::chooseFont(const QString& caption, const QFont& initial, bool fixedPitchOnly)
{
    QFontDialog::FontDialogOptions options;
    if (fixedPitchOnly)
        options |= QFontDialog::MonospacedFonts;
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parentWidget(), boxCaption(caption), options);
    if (!ok)
        return std::nullopt;
    return font;
}

bool QtPrompter::pageSetup(const QString& caption, core::PageSetup& setup)
{
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);  // no printer: pages for the PDF file
    else if (!setup.printerName.isEmpty())
        printer.setPrinterName(setup.printerName);
    if (setup.layout.isValid())
        printer.setPageLayout(setup.layout);
    QPageSetupDialog dialog(&printer, parentWidget());
    dialog.setWindowTitle(boxCaption(caption));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        setup.printerName = printer.printerName();
    setup.layout = printer.pageLayout();
    return true;
}

std::optional<core::PrintChoice> QtPrompter::choosePrintRange(const QString& caption, bool offerSelection)
{
    core::PrintChoice choice;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer: the text goes into a PDF file; the selection choice
        // is asked first.
        if (offerSelection) {
            const core::Answer a = confirm(core::ConfirmKind::YesNoCancel,
                                           QStringLiteral("Print only the selected lines?"), caption);
            if (a == core::Answer::Cancel)
                return std::nullopt;
            choice.selectionOnly = a == core::Answer::Yes;
        }
        const auto target = choosePrinter(caption);
        if (!target)
            return std::nullopt;
        choice.target = *target;
        return choice;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parentWidget());
    dialog.setWindowTitle(boxCaption(caption));
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options &= ~(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage);
    options.setFlag(QAbstractPrintDialog::PrintSelection, offerSelection);
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    choice.selectionOnly = offerSelection && dialog.printRange() == QAbstractPrintDialog::Selection;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const auto drivePath = driveText(printer.outputFileName());
        if (!drivePath) {
            message(core::MessageKind::Error,
                    QStringLiteral("The file \"%1\" is not on any drive.").arg(printer.outputFileName()));
            return std::nullopt;
        }
        choice.target.pdfFile = *drivePath;
    } else {
        choice.target.printerName = printer.printerName();
    }
    return choice;
}

}  // namespace comp
