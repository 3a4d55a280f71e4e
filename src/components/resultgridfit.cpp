#include "components/resultgridfit.h"

#include <algorithm>
#include <cmath>

namespace comp {

TextWidthTally::TextWidthTally(const QFontMetricsF& metrics) : metrics_(metrics)
{
    ascii_.fill(-1);
}

qreal TextWidthTally::advance(char16_t c)
{
    if (c < ascii_.size()) {
        qreal& a = ascii_[c];
        if (a < 0)
            a = metrics_.horizontalAdvance(QChar(c));
        return a;
    }
    // Half of a surrogate pair has no advance of its own: count the widest
    // character, so that the text is laid out in full if it comes near the top.
    if (QChar::isSurrogate(c))
        return metrics_.maxWidth();
    auto it = others_.constFind(c);
    if (it == others_.constEnd())
        it = others_.insert(c, metrics_.horizontalAdvance(QChar(c)));
    return *it;
}

qreal TextWidthTally::estimate(QStringView text)
{
    qreal sum = 0;
    for (QChar c : text)
        sum += advance(c.unicode());
    return sum;
}

void TextWidthTally::add(QStringView text)
{
    if (text.isEmpty())
        return;
    const qreal e = estimate(text);
    if (widest_.size() == kKeep && e <= smallestKept_)
        return;
    for (const Candidate& c : widest_)
        if (c.estimate == e && c.text == text)
            return;
    if (widest_.size() == kKeep) {
        auto least = std::min_element(widest_.begin(), widest_.end(),
                                      [](const Candidate& a, const Candidate& b) { return a.estimate < b.estimate; });
        *least = {e, text.toString()};
    } else {
        widest_.push_back({e, text.toString()});
    }
    if (widest_.size() == kKeep)
        smallestKept_ = std::min_element(widest_.begin(), widest_.end(), [](const Candidate& a, const Candidate& b) {
                            return a.estimate < b.estimate;
                        })->estimate;
    dirty_ = true;
}

void TextWidthTally::clear()
{
    widest_.clear();
    smallestKept_ = 0;
    width_ = 0;
    dirty_ = false;
}

int TextWidthTally::width() const
{
    if (dirty_) {
        qreal widest = 0;
        for (const Candidate& c : widest_)
            widest = std::max({widest, c.estimate, metrics_.horizontalAdvance(c.text)});
        width_ = int(std::ceil(widest));
        dirty_ = false;
    }
    return width_;
}

}  // namespace comp
