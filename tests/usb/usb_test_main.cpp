// The USB tests talk to emulated devices through umockdev's preload library,
// which must be in place before the process starts: without it the program
// runs itself again with it. Under AddressSanitizer the preload comes before
// the sanitizer's runtime, so the link-order check is switched off, and the
// leaks of GLib's and umockdev's one-time set-up are not ours to report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* PRELOAD = "libumockdev-preload.so.0";

void appendOption(const char* variable, const std::string& option) {
    const char* old = std::getenv(variable);
    std::string value = old && *old ? std::string(old) + ":" + option : option;
    setenv(variable, value.c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload")) {
        std::string value = PRELOAD;
        if (preload && *preload)
            value += std::string(":") + preload;
        setenv("LD_PRELOAD", value.c_str(), 1);
        appendOption("ASAN_OPTIONS", "verify_asan_link_order=0");
        appendOption("LSAN_OPTIONS", "suppressions=" VESSOR_USB_LSAN_SUPPRESSIONS);
        execv("/proc/self/exe", argv);
        std::perror("cannot run the USB tests under umockdev");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
