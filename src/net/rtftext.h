#pragma once
// The plain text of a rich-text (RTF) document, by a small extractor of our
// own: paragraphs and line breaks become line feeds, tabs stay tabs, \'hh
// and \uN give their characters, and destinations (font and colour tables,
// style sheets, document information, field instructions, pictures,
// objects, any \* group) are skipped. Formatting is dropped. The work is
// linear in the input and never produces more characters than it reads;
// nesting deeper than the stack keeps the state of the deepest group.

#include <QByteArray>
#include <QChar>
#include <QString>

namespace net {

// True when the data (after a UTF-8 byte-order mark and blanks) starts a
// rich-text document.
bool LooksLikeRtf(const QByteArray& data);

// The text of an RTF document; controls other than line feed and tab are
// left out, and a lone surrogate becomes U+FFFD.
QString RtfToText(const QByteArray& rtf);

// The character of a Windows-1252 byte; QChar() for the five unassigned ones.
QChar Cp1252Char(uchar byte);

}  // namespace net
