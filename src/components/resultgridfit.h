#pragma once
// The width the widest of many texts needs in one font, found without laying
// out each text: every text is first estimated by the sum of its characters'
// advances (a table look-up per character), and only the few distinct texts
// with the largest estimates are laid out in full. A million sizes cost a
// million look-up loops and a handful of layouts.
//
// The answer is never below the estimate of any text added, nor below the
// laid-out width of the widest candidates, so a text whose layout is wider
// than its characters' sum (positive kerning) among the widest still fits.

#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <vector>

namespace comp {

class TextWidthTally {
public:
    // The metrics of the font the texts are drawn in, on the device they
    // are drawn on.
    explicit TextWidthTally(const QFontMetricsF& metrics);

    void add(QStringView text);
    void clear();
    // Whole pixels the widest text added needs; 0 when none was added.
    int width() const;

private:
    qreal advance(char16_t c);
    qreal estimate(QStringView text);

    static constexpr size_t kKeep = 8;
    struct Candidate {
        qreal estimate = 0;
        QString text;
    };

    QFontMetricsF metrics_;
    std::array<qreal, 128> ascii_;
    QHash<char16_t, qreal> others_;
    std::vector<Candidate> widest_;  // at most kKeep, distinct texts
    qreal smallestKept_ = 0;         // the least estimate in widest_ once full
    mutable int width_ = 0;
    mutable bool dirty_ = false;
};

}  // namespace comp
