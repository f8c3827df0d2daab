#include "core/cp932.h"

#include <QList>
#include <QSysInfo>

#include <iconv.h>
#include <cerrno>

namespace {

// Closes the descriptor on every way out of a conversion.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

bool isAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Windows writes these as CP932 characters; a Linux clipboard delivers their JIS forms.
char32_t windowsForm(char32_t c) {
    switch (c) {
        case 0x301C:
            return 0xFF5E;  // wave dash
        case 0x2016:
            return 0x2225;  // double vertical line
        case 0x2212:
            return 0xFF0D;  // minus sign
        case 0x00A2:
            return 0xFFE0;  // cent sign
        case 0x00A3:
            return 0xFFE1;  // pound sign
        case 0x00AC:
            return 0xFFE2;  // not sign
        case 0x2014:
            return 0x2015;  // em dash
        default:
            return c;
    }
}

// Makes room for more output, keeping what was converted so far.
void growOutput(QByteArray& out, char*& outPtr, size_t& outLeft) {
    const qsizetype used = outPtr - out.data();
    out.resize(out.size() * 2 + 16);
    outPtr = out.data() + used;
    outLeft = static_cast<size_t>(out.size() - used);
}

// Runs the whole input through iconv. Input it cannot convert (an unmappable character, an
// invalid or cut-off sequence) is replaced, `skip` input bytes at a time.
QByteArray convert(const Iconv& cd, char* inPtr, size_t inLeft, qsizetype outSize,
                   QByteArrayView replacement, size_t skip) {
    QByteArray out(outSize, Qt::Uninitialized);
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            growOutput(out, outPtr, outLeft);
        } else if (errno == EILSEQ || errno == EINVAL) {
            while (outLeft < static_cast<size_t>(replacement.size()))
                growOutput(out, outPtr, outLeft);
            for (char c : replacement)
                *outPtr++ = c;
            outLeft -= static_cast<size_t>(replacement.size());
            const size_t step = inLeft < skip ? inLeft : skip;
            inPtr += step;
            inLeft -= step;
        } else {
            break;
        }
    }
    out.truncate(outPtr - out.data());
    return out;
}

}  // namespace

QByteArray toCp932(const QString& text) {
    if (isAscii(text)) return text.toLatin1();

    // UTF-32 makes every character exactly four input bytes, so skipping one that CP932 cannot
    // hold is simple; a surrogate pair (an emoji) is then one character and one "?".
    QList<uint> ucs4 = text.toUcs4();
    for (uint& c : ucs4)
        c = windowsForm(c);

    const bool little = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    Iconv cd("CP932", little ? "UTF-32LE" : "UTF-32BE");
    if (!cd.valid()) {
        // Without the converter module, keep what plain ASCII can say.
        QByteArray fallback;
        for (uint c : ucs4)
            fallback.append(c < 0x80 ? static_cast<char>(c) : '?');
        return fallback;
    }

    return convert(cd, reinterpret_cast<char*>(ucs4.data()),
                   static_cast<size_t>(ucs4.size()) * sizeof(uint), ucs4.size() * 2 + 16, "?",
                   sizeof(uint));
}

QString fromCp932(const QByteArray& bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);

    static constexpr QByteArrayView kReplacement("\xEF\xBF\xBD");  // U+FFFD in UTF-8
    Iconv cd("UTF-8", "CP932");
    if (!cd.valid()) {
        QString fallback;
        for (char c : bytes)
            fallback.append(static_cast<unsigned char>(c) < 0x80 ? QChar(c) : QChar(0xFFFD));
        return fallback;
    }

    QByteArray input = bytes;  // iconv takes a non-const input pointer
    // An invalid byte, or a lead byte cut off at the end: one replacement per byte.
    return QString::fromUtf8(convert(cd, input.data(), static_cast<size_t>(input.size()),
                                     input.size() * 3 + 16, kReplacement, 1));
}

qsizetype cp932Length(const QString& text) {
    if (isAscii(text)) return text.size();
    return toCp932(text).size();
}

bool survivesCp932(const QString& text) {
    return fromCp932(toCp932(text)) == text;
}
