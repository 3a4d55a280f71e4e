// Windows-style wildcard matching: '*' any run, '?' one character, no
// regard to case. "*" and "*.*" match every name; "name.*" also matches a
// name without a dot, and "*." matches names without one, as the classic
// FindFirst does.
#include "platform/findfile.h"
#include "platform/wildcard_p.h"

namespace plat {

namespace detail {

namespace {

bool globFolded(QStringView pat, QStringView name)
{
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pat.size()) {
            const QChar pc = pat[p];
            if (pc == u'*') {
                starP = p++;
                starN = n;
                continue;
            }
            if (pc == u'?' || pc == name[n].toCaseFolded()) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        n = ++starN;
    }
    while (p < pat.size() && pat[p] == u'*')
        ++p;
    return p == pat.size();
}

}  // namespace

WildcardPattern::WildcardPattern(const QString& pattern)
{
    matchAll_ = pattern == u"*" || pattern == u"*.*";
    if (matchAll_)
        return;
    folded_ = pattern.toCaseFolded();
    if (folded_.endsWith(u".*"))
        withoutDotStar_ = folded_.chopped(2);
    else if (folded_.endsWith(u'.') && folded_ != u"." && folded_ != u"..")
        withoutDot_ = folded_.chopped(1);
}

bool WildcardPattern::matches(QStringView name) const
{
    if (matchAll_)
        return true;
    if (globFolded(folded_, name))
        return true;
    if (!name.contains(u'.')) {
        if (!withoutDotStar_.isNull() && globFolded(withoutDotStar_, name))
            return true;
        if (!withoutDot_.isNull() && globFolded(withoutDot_, name))
            return true;
    }
    return false;
}

}  // namespace detail

bool matchesWildcard(const QString& pattern, const QString& name)
{
    return detail::WildcardPattern(pattern).matches(name);
}

}  // namespace plat
