#pragma once
// The texts a web site sends for the version check, made safe to show: the
// version file as lines, the release notes as plain text with the places of
// their web links. Nothing from the site is ever interpreted as markup.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace net {

// A body as text: a UTF-8 byte-order mark dropped; valid UTF-8 decoded as
// such, anything else as Windows-1252.
QString DecodeBody(const QByteArray& body);

// The lines of the version file: split at CRLF, LF or CR; a final line end
// adds no empty line. Controls in a line (tabs too) become blanks.
QStringList SplitLines(const QByteArray& body);

// The release notes as plain text: RTF reduced to its text, anything else
// taken as plain text; line ends become LF, controls other than LF and tab
// are left out.
QString NotesText(const QByteArray& body);

struct TextLink {
    int start = 0;
    int length = 0;
    QString url;
};
// The http:// and https:// addresses in a text, in order: each runs to the
// next blank, control, quote or angle bracket, without trailing punctuation.
QList<TextLink> FindWebLinks(const QString& text);

}  // namespace net
