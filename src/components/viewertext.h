#pragma once
// How the file viewer turns the bytes of one display line into text: valid
// UTF-8 is decoded, every other byte stands for one Windows-1252 character,
// control characters show as a placeholder, tabs expand to the tab stops.
// Hex lines show 16 bytes with their offset and their printable characters.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace comp {

// What a control character (and a byte with no character) looks like.
inline constexpr char16_t kViewerPlaceholder = u'\u00B7';

struct ViewerTextOptions {
    bool expandTabs = true;
    int tabSize = 8;  // 1..255
};

// The text of one display line. When byteOfChar is given it receives, for
// every character of the text, the index of the byte it came from (a tab's
// blanks all name the tab), so that columns and byte offsets convert.
QString DecodeViewerLine(const char* data, qsizetype size, const ViewerTextOptions& options,
                         std::vector<int>* byteOfChar = nullptr);

// The same bytes as plain text for the clipboard: tabs stay tabs, the other
// control characters become the placeholder.
QString ViewerClipText(const char* data, qsizetype size);

// The Windows-1252 byte of a character, or -1 when the code page has none
// (the viewer shows such a byte that is not part of UTF-8 as that character).
int Cp1252Byte(char32_t cp);

// Hex lines: "OOOOOOOO  hh hh ... hh  chars". The offset has at least eight
// digits, more for files beyond 4 GiB (digits from HexOffsetDigits).
int HexOffsetDigits(qint64 fileSize);
QString HexViewerLine(qint64 offset, const char* data, int size, int offsetDigits);
// The columns of byte i (0..15) of a hex line: its two hex digits and its
// character.
int HexPairColumn(int i, int offsetDigits);
int HexCharColumn(int i, int offsetDigits);
// The byte of a hex line a column points at (0..15).
int HexByteAtColumn(int column, int offsetDigits);

}  // namespace comp
