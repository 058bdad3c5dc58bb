#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the calling thread is held to the file permissions even as root: it clears
// CAP_DAC_OVERRIDE from the thread's effective capabilities, and puts it back when it goes. A read-only
// folder then refuses root's writes as it refuses anyone else's.
class WithoutRootOverride {
public:
    WithoutRootOverride() {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &header_, reduced);
    }
    ~WithoutRootOverride() { ::syscall(SYS_capset, &header_, saved_); }
    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};
