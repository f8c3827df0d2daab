// Clipboard texts reach the time-code jump and the URL panel: reading them never crashes, the
// jump never goes before the start, and cleaning an address twice changes nothing more.

#include "fuzz_support.h"
#include "keyboard/clipboard_time_code.h"
#include "web/web_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    if (clipboardMayHoldTimeCode(text)) {
        if (const auto code = readClipboardTimeCode(text)) {
            if (isJumpTarget(code->seconds, 3600))
                FUZZ_CHECK(code->seconds > 0 && code->seconds <= 3600, "a jump outside the media");
        }
    }
    const QString cleaned = web::cleanUrl(text);
    FUZZ_CHECK(web::cleanUrl(cleaned) == cleaned, "cleaning an address is not idempotent");
    if (web::isWebAddress(text)) web::browserAddress(text);
    return 0;
}
