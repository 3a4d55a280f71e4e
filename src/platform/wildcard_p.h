#pragma once
// Internal: a wildcard pattern prepared once (case-folded, the special forms
// worked out) and then matched against many names.

#include <QString>
#include <QStringView>

namespace plat::detail {

class WildcardPattern {
public:
    WildcardPattern() = default;
    explicit WildcardPattern(const QString& pattern);
    // True for "*" and "*.*": every name matches, so callers can skip the name.
    bool matchesAll() const { return matchAll_; }
    bool matches(QStringView name) const;

private:
    bool matchAll_ = true;
    QString folded_;
    QString withoutDotStar_;  // "name.*" -> "name", also matches "name"
    QString withoutDot_;      // "*." -> "*", for names without a dot
};

}  // namespace plat::detail
