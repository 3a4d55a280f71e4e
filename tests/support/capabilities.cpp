#include "support/capabilities.h"

#include <cstring>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {

// Capabilities are per thread on Linux; the raw system calls change only
// the calling thread, which is all a test needs.
NoDacOverride::NoDacOverride()
{
    if (::geteuid() != 0) {
        ok_ = true;  // permission bits already apply
        return;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    std::memcpy(saved_, data, sizeof data);
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    header = {_LINUX_CAPABILITY_VERSION_3, 0};
    changed_ = ok_ = ::syscall(SYS_capset, &header, data) == 0;
}

NoDacOverride::~NoDacOverride()
{
    if (!changed_)
        return;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    std::memcpy(data, saved_, sizeof data);
    ::syscall(SYS_capset, &header, data);
}

}  // namespace testing_support
