#pragma once
// A row of framed text sections across the top of a window, like a status
// bar above the contents.

#include <QFrame>
#include <QList>
#include <QString>

class QLabel;

namespace comp {

class StatusHeader : public QFrame {
    Q_OBJECT
public:
    // widths: the width of each section in characters of the font; 0 = the
    // rest of the row.
    StatusHeader(const QList<int>& widths, QWidget* parent = nullptr);

    int sectionCount() const { return int(sections_.size()); }
    QString sectionText(int i) const;
    void setSectionText(int i, const QString& text);

private:
    QList<QLabel*> sections_;
};

}  // namespace comp
