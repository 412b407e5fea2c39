#include "platform/core/native_path.h"

namespace platform
{

namespace
{

constexpr char16_t escapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at p (1 to 4), or 0 when the bytes
// there are not one: overlong forms, surrogates and values past U+10FFFF are
// not valid.
int sequenceLength(const unsigned char* p, qsizetype left, char32_t& cp)
{
    const unsigned char b = p[0];
    int n = 0;
    char32_t min = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if ((b & 0xE0) == 0xC0) {
        n = 2, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

void appendUtf8(QByteArray& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

QString decodePath(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        char32_t cp = 0;
        const int n = sequenceLength(p + i, size - i, cp);
        if (n == 0) {
            out += QChar(static_cast<char16_t>(escapeBase + p[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

QByteArray encodePath(QStringView path)
{
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() &&
            QChar::isLowSurrogate(path[i + 1].unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(c, path[i + 1].unicode()));
            ++i;
        } else if (c >= escapeBase + 0x80 && c <= escapeBase + 0xFF) {
            out += static_cast<char>(c - escapeBase);
        } else if (QChar::isSurrogate(c)) {
            out += '?'; // a lone surrogate no name can hold
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

} // namespace platform
