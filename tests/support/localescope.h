#pragma once
// Sets the default locale for one scope and puts the previous one back on
// every way out, also when an ASSERT leaves the test early.

#include <QLocale>

namespace testing_support {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale saved_;
};

}  // namespace testing_support
