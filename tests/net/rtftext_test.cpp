// The release notes' text: the RTF extractor, the version file's lines and
// the web links found in the notes.
#include "net/notestext.h"
#include "net/rtftext.h"

#include <gtest/gtest.h>

using namespace net;

TEST(RtfText, ExtractsTheDocumentText)
{
    struct Row {
        const char* rtf;
        QString text;
    };
    const Row rows[] = {
        {R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue0;}\f0\fs20 Hello\par World})",
         "Hello\nWorld"},
        {R"({\rtf1 a\tab b\line c})", "a\tb\nc"},
        {R"({\rtf1 caf\'e9 \'80 \'81x})", QString::fromUtf8("café € x")},
        {R"({\rtf1 \u8364? \uc0\u8364 \uc2\u8364\'80\'80 end})", QString::fromUtf8("€ €€ end")},
        {R"({\rtf1 \u-10179?\u-8704?})", QString::fromUtf8("\xF0\x9F\x98\x80")},  // surrogate pair
        {R"({\rtf1 lone \u-10179?})", QString::fromUtf8("lone \xEF\xBF\xBD")},
        {R"({\rtf1 {\*\generator Writer;}{\info{\title T}{\author A}}Body})", "Body"},
        {R"({\rtf1 {\pict\pngblip 89504e47}{\*\unknown skip}Text})", "Text"},
        {R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://x/"}{\fldrslt link}}})", "link"},
        {R"({\rtf1 \bin4 {}\}x after})", "x after"},
        {R"({\rtf1 \{braces\} back\\slash \~nb \-opt})", QString::fromUtf8("{braces} back\\slash \u00A0nb opt")},
        {"{\\rtf1 line\r\nbreaks\\\nhere}", "linebreaks\nhere"},
        {R"({\rtf1 \'01ctl\'7f\'9d})", "ctl"},
        {R"({\rtf1 \ldblquote q\rdblquote  \endash})", QString::fromUtf8("\u201Cq\u201D \u2013")},
        {R"({\rtf1 \averyveryveryveryveryveryverylongcontrolword x \u99999999999999?y})", "x y"},
        {R"({\rtf1 unclosed {group \par)", "unclosed group \n"},
        {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RtfToText(QByteArray(r.rtf)), r.text) << r.rtf;

    // Nesting deeper than the state stack ends as it began.
    const QByteArray deep = "{\\rtf1 " + QByteArray(10000, '{') + "{\\*\\x}in" + QByteArray(10000, '}') + " out}";
    EXPECT_EQ(RtfToText(deep), "in out");
}

TEST(NotesText, LinesNotesAndLinks)
{
    struct LinesRow {
        QByteArray body;
        QStringList lines;
    };
    const LinesRow lineRows[] = {
        {"4.1\r\n", {"4.1"}},
        {"\xEF\xBB\xBF" "4.2\r12 May 2004\r\nmore", {"4.2", "12 May 2004", "more"}},
        {"4.1 \n\n", {"4.1 ", ""}},
        {"4.1\t\x1b[31m", {"4.1  [31m"}},
        {"caf\xe9", {QString::fromUtf8("café")}},  // not UTF-8: Windows-1252
        {"", {}},
    };
    for (const LinesRow& r : lineRows)
        EXPECT_EQ(SplitLines(r.body), r.lines) << r.body.toStdString();

    EXPECT_EQ(NotesText("{\\rtf1 a\\par b}"), "a\nb");
    EXPECT_EQ(NotesText("  {\\rtf1 x}"), "x");
    EXPECT_EQ(NotesText("<b>plain</b>\r\nnext\rlast\x07"), "<b>plain</b>\nnext\nlast");

    const QString text = "See http://a.example/x?y=1, or (HTTPS://b.example/p). ftp://no "
                         "javascript:alert(1) http:// <http://c.example/\">";
    const QList<TextLink> links = FindWebLinks(text);
    QStringList urls;
    for (const TextLink& l : links) {
        EXPECT_EQ(text.mid(l.start, l.length), l.url);
        urls << l.url;
    }
    EXPECT_EQ(urls, (QStringList{"http://a.example/x?y=1", "HTTPS://b.example/p", "http://c.example/"}));
}
