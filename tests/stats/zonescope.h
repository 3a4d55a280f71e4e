#pragma once
// Sets the process's time zone for one test and puts the previous one back.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace stats_test {

class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::optional<std::string> saved_;
};

}  // namespace stats_test
