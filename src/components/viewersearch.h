#pragma once
// Searching the viewer's file: the pages are streamed through in chunks that
// overlap by the length of the text, so a find across a page or a display
// line break is not missed, and the whole file is never held.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace comp {

class ViewerDocument;

struct ViewerSearch {
    QString text;
    bool backward = false;
    bool matchCase = false;
};

struct ViewerMatch {
    qint64 start = -1;
    qint64 end = -1;
};

enum class SearchOutcome { Found, NotFound, Aborted };

// The byte forms a text can have in the file: UTF-8, and Windows-1252 when
// that differs and can hold the text (the viewer shows such bytes as the
// same characters).
QList<QByteArray> SearchNeedles(const QString& text);

// Forward: the first find starting at from or later. Backward: the last
// find starting before from. Letters A-Z compare without regard to case
// unless matchCase. keepGoing is asked between chunks; when it says no the
// search ends with Aborted.
SearchOutcome SearchViewerDocument(ViewerDocument& doc, const ViewerSearch& search, qint64 from, ViewerMatch& match,
                                   const std::function<bool()>& keepGoing = {});

}  // namespace comp
