// What Windows the program runs on: its real version (whatever the manifest declares) and
// whether it is Wine, whose behaviour differs where the program relies on it.
#pragma once

namespace taliveer {

struct SystemVersion {
    unsigned long major = 0;
    unsigned long minor = 0;
    unsigned long build = 0;
    bool wine = false;
};

SystemVersion CurrentSystemVersion();

}  // namespace taliveer
