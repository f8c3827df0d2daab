// Time texts come from the clipboard, the settings file and the player: splitting and reading
// them never crashes, and a time code read back gives the whole seconds it was made from.

#include <cmath>
#include <cstring>

#include "core/time_code.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    SplitTimeFields(text);
    TimeCodeSeconds(text);
    PlayerStringToTimeCode(text);

    if (size >= sizeof(double)) {
        double seconds = 0;
        std::memcpy(&seconds, data, sizeof seconds);
        const QString code = TimeCodeText(seconds);
        if (std::isfinite(seconds) && seconds >= 0 && seconds < 1e12)
            FUZZ_CHECK(TimeCodeSeconds(code) == std::floor(seconds < 1 ? 0 : seconds),
                       "a time code did not read back as its whole seconds");
    }
    return 0;
}
