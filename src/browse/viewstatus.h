#pragma once
// The texts of the viewer window's status header and the checks of its
// input boxes, without widgets (trovik-scan prints the same texts).

#include <QString>

#include <optional>

namespace browse {

// Section 0: line and column from 1, e.g. "    12:5" (at least 8
// characters); "?" for a line not counted yet.
QString CaretStatusText(std::optional<qint64> line, int column);
// Section 1: "Total: 1,234", or "Total: ?" while not counted (count -1).
QString TotalStatusText(qint64 count);
// Section 2: "Top: " and the first visible line from 1 in at least 5
// characters; "?" while not counted.
QString TopStatusText(std::optional<qint64> line);
// Section 3: "Bytes: 1,234".
QString BytesStatusText(qint64 size);

// A whole number as typed in an input box (blanks around it allowed), or
// nothing.
std::optional<qint64> WholeNumber(const QString& text);
// The line (from 1) a typed go-to-line answer means, clamped to 1..count;
// nothing when the answer is not a whole number or there are no lines.
std::optional<qint64> GoToLineAnswer(const QString& text, qint64 count);
// A typed tab size when it is a whole number from 1 to 255.
std::optional<int> TabSizeAnswer(const QString& text);

}  // namespace browse
