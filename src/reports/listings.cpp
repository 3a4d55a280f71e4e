#include "reports/listings.h"

#include "core/helpers.h"
#include "platform/drives.h"

#include <QCursor>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

#include <optional>

namespace reports {

const char* const kPrintErrorMessage = "Error printing report ... quitting";

namespace {

// The hourglass for as long as the listing is written, put back on every way out.
class WaitCursor {
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            active_ = true;
        }
    }
    ~WaitCursor()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool active_ = false;
};

void printError()
{
    core::prompter().message(core::MessageKind::Error, QString::fromLatin1(kPrintErrorMessage));
}

// The requested family when this system has it in a fixed pitch; otherwise
// the system's fixed-pitch font, so that the columns still line up.
QFont listingFont(const QString& family)
{
    QFont font(family, 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (QFontInfo(font).fixedPitch())
        return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    return fixed;
}

class PrinterTarget : public ListingTarget {
public:
    PrinterTarget(core::PrintTarget target, QString family) : target_(std::move(target)), family_(std::move(family))
    {
    }
    PrinterTarget(core::PrintTarget target, const QFont& font, core::PageSetup setup)
        : target_(std::move(target)), font_(font), setup_(std::move(setup))
    {
        if (target_.printerName.isEmpty() && target_.pdfFile.isEmpty())
            target_.printerName = setup_.printerName;
    }
    ~PrinterTarget() override { close(); }

    bool open() override
    {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(QStringLiteral("Trovik listing"));
        if (!target_.pdfFile.isEmpty()) {
            const auto posix = plat::toPosix(target_.pdfFile);
            if (!posix)
                return false;
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setOutputFileName(QFile::decodeName(*posix));
        } else {
            printer_->setPrinterName(target_.printerName);
            if (!printer_->isValid())
                return false;
        }
        if (setup_.layout.isValid())
            printer_->setPageLayout(setup_.layout);
        if (!painter_.begin(printer_.get()))
            return false;
        painter_.setFont(font_ ? *font_ : listingFont(family_));
        const QFontMetrics metrics = painter_.fontMetrics();
        lineHeight_ = std::max(1, metrics.lineSpacing());
        ascent_ = metrics.ascent();
        pageHeight_ = printer_->height();
        y_ = 0;
        return true;
    }

    bool writeLine(const QString& line) override
    {
        if (!painter_.isActive())
            return false;
        if (y_ > 0 && y_ + lineHeight_ > pageHeight_) {
            if (!printer_->newPage())
                return false;
            y_ = 0;
        }
        painter_.drawText(0, y_ + ascent_, line);
        y_ += lineHeight_;
        return true;
    }

    void close() override
    {
        if (painter_.isActive())
            painter_.end();
    }

private:
    core::PrintTarget target_;
    QString family_;
    std::optional<QFont> font_;
    core::PageSetup setup_;
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    int pageHeight_ = 0;
    int y_ = 0;
};

QString hexColor(const QColor& c)
{
    return QStringLiteral("%1%2%3")
        .arg(c.red(), 2, 16, QChar(u'0'))
        .arg(c.green(), 2, 16, QChar(u'0'))
        .arg(c.blue(), 2, 16, QChar(u'0'))
        .toUpper();
}

QString alignAttribute(WebCellLook::Align align)
{
    switch (align) {
    case WebCellLook::Right:
        return QStringLiteral(" align=\"right\"");
    case WebCellLook::Center:
        return QStringLiteral(" align=\"center\"");
    case WebCellLook::Left:
        break;
    }
    return QString();
}

QString backgroundAttribute(const QString& hex)
{
    return QStringLiteral(" BGCOLOR=\"#") + hex + u'"';
}

}  // namespace

QString ListingCell(const QString& text, int widthPixels)
{
    const int w = std::max(0, widthPixels / 6);
    return text.left(w).leftJustified(w, u' ') + u' ';
}

QStringList GridListingRows(const comp::ResultGrid& grid, const QList<int>& columnWidths)
{
    QStringList rows;
    rows.reserve(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r) {
        QString line;
        for (int c = 0; c < grid.colCount(); ++c)
            line += ListingCell(grid.cell(r, c), c < columnWidths.size() ? columnWidths[c] : 0);
        rows << line;
    }
    return rows;
}

QStringList ListingHead(const QString& title, const QDateTime& when, const QString& indent)
{
    const QLocale locale;
    const QString printed = locale.toString(when.date(), core::ShortDateFormat()) + QStringLiteral("  ")
                            + locale.toString(when.time(), core::LongTimeFormat());
    return {indent + title, indent + QStringLiteral("Printed : ") + printed, QString(), QString()};
}

std::unique_ptr<ListingTarget> MakePrinterTarget(const core::PrintTarget& target, const QString& family)
{
    return std::make_unique<PrinterTarget>(target, family);
}

std::unique_ptr<ListingTarget> MakePrinterTarget(const core::PrintTarget& target, const QFont& font,
                                                 const core::PageSetup& setup)
{
    return std::make_unique<PrinterTarget>(target, font, setup);
}

bool WriteListing(ListingTarget& target, const QStringList& head, const QStringList& body)
{
    // A failure before the rows ends at once; the document may be left
    // unfinished, which the printer discards.
    if (!target.open()) {
        printError();
        return false;
    }
    for (const QString& line : head) {
        if (!target.writeLine(line)) {
            target.close();
            printError();
            return false;
        }
    }
    bool ok = true;
    {
        WaitCursor wait;
        for (const QString& line : body) {
            if (!target.writeLine(line)) {
                ok = false;
                break;
            }
        }
    }
    target.close();
    if (!ok)
        printError();
    return ok;
}

bool PrintGridListing(const comp::ResultGrid& grid, const QList<int>& columnWidths, const QString& title,
                      const core::PrintTarget& target)
{
    const auto printer = MakePrinterTarget(target, QStringLiteral("Courier New"));
    return WriteListing(*printer, ListingHead(title, QDateTime::currentDateTime()),
                        GridListingRows(grid, columnWidths));
}

namespace {
const QString kListIndent = QStringLiteral("   ");
}

QStringList ListListingLines(const QStringList& lines)
{
    QStringList body;
    body.reserve(lines.size());
    for (const QString& line : lines)
        body << kListIndent + line;
    return body;
}

bool PrintListListing(const QStringList& lines, const QString& title, const core::PrintTarget& target)
{
    const auto printer = MakePrinterTarget(target, QStringLiteral("Courier"));
    return WriteListing(*printer, ListingHead(title, QDateTime::currentDateTime(), kListIndent),
                        ListListingLines(lines));
}

QString WebTitleColor()
{
    // This platform has no colour of active window borders: a fixed light grey.
    return hexColor(QColor(192, 192, 192));
}

QString WebCellText(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("<br>");
    // A file name here may hold "<" or ">", which would break the table;
    // "&" stays as it is.
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == u'<')
            out += QLatin1String("&lt;");
        else if (c == u'>')
            out += QLatin1String("&gt;");
        else if (c == u'\r')
            out += QLatin1String("<br>");
        else
            out += c;
    }
    return out;
}

QStringList WebPageLines(const comp::ResultGrid& grid, const WebCellRule& rule)
{
    QStringList lines;
    lines << QStringLiteral("<table border=1>") << QStringLiteral("<tr>");
    const QString titleGround = backgroundAttribute(WebTitleColor());
    for (int c = 0; c < grid.colCount(); ++c) {
        WebCellLook look;
        if (rule)
            rule(0, c, look);
        lines << QStringLiteral("<td nowrap") + alignAttribute(look.align) + titleGround + QStringLiteral("><B>")
                     + WebCellText(grid.cell(0, c)) + QStringLiteral("</B></td>");
    }
    lines << QStringLiteral("</tr>");
    for (int r = 1; r < grid.rowCount(); ++r) {
        lines << QStringLiteral("<tr>");
        for (int c = 0; c < grid.colCount(); ++c) {
            WebCellLook look;
            if (rule)
                rule(r, c, look);
            QString line = QStringLiteral("<td nowrap") + alignAttribute(look.align);
            if (look.background.isValid())
                line += backgroundAttribute(hexColor(look.background));
            line += u'>';
            if (look.text.isValid())
                line += QStringLiteral("<font color=\"#") + hexColor(look.text) + QStringLiteral("\">");
            if (look.bold)
                line += QLatin1String("<B>");
            if (look.italic)
                line += QLatin1String("<I>");
            line += WebCellText(grid.cell(r, c));
            if (look.italic)
                line += QLatin1String("</I>");
            if (look.bold)
                line += QLatin1String("</B>");
            if (look.text.isValid())
                line += QLatin1String("</font>");
            line += QLatin1String("</td>");
            lines << line;
        }
        lines << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("</table><p>");
    return lines;
}

bool SaveGridAsWebPage(const comp::ResultGrid& grid, const QString& drivePath, const WebCellRule& rule)
{
    const auto posix = plat::toPosix(drivePath);
    QString error;
    if (!posix) {
        error = QStringLiteral("The path is not on any drive.");
    } else {
        // The old file is replaced only once the whole page is written.
        QSaveFile file(QFile::decodeName(*posix));
        if (file.open(QIODevice::WriteOnly)) {
            WaitCursor wait;
            for (const QString& line : WebPageLines(grid, rule)) {
                if (file.write(line.toLocal8Bit() + "\r\n") < 0)
                    break;
            }
            if (file.error() == QFileDevice::NoError && file.commit())
                return true;
        }
        error = file.errorString();
        file.cancelWriting();
    }
    core::ErrorBox(QStringLiteral("Cannot write the web page ") + drivePath + QStringLiteral(": ") + error);
    return false;
}

core::SaveRequest WebPageSaveRequest()
{
    core::SaveRequest r;
    r.caption = QStringLiteral("Save file listing as web page");
    r.defaultSuffix = QStringLiteral(".htm");
    r.initialName = QStringLiteral("save.htm");
    r.filter = QStringLiteral("HTM files|*.htm|HTML files|*.html|All files|*.*");
    return r;
}

}  // namespace reports
