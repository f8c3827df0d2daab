// Decoding arbitrary bytes as CP932 and encoding the text again: no crash, and a decoded text
// survives its own round trip, so a file read and written again keeps what it said.

#include "core/cp932.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fromCp932(fuzzBytes(data, size));
    const QByteArray encoded = toCp932(text);
    FUZZ_CHECK(cp932Length(text) == encoded.size(), "cp932Length differs from the encoding");
    if (!text.contains(QChar(0xFFFD)))
        FUZZ_CHECK(fromCp932(encoded) == text, "a decoded text did not survive a round trip");
    // Any Unicode text, read from the same bytes as UTF-16, must encode without a crash.
    const QString utf16(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    FUZZ_CHECK(toCp932(utf16).size() <= utf16.size() * 2,
               "an encoding longer than two bytes a unit");
    return 0;
}
