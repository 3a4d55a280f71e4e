#include "components/printpicture.h"

#include "platform/drives.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace comp {

bool PrintPicture(const QPixmap& picture, const core::PrintTarget& target, const QString& documentName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    if (!target.pdfFile.isEmpty()) {
        const auto posix = plat::toPosix(target.pdfFile);
        if (!posix)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QFile::decodeName(*posix));
    } else {
        printer.setPrinterName(target.printerName);
    }
    if (!printer.isValid())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
    return painter.end();
}

}  // namespace comp
