#include "app/settings_line.h"

#include "platform/core/native_path.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace settings
{

namespace
{

QByteArray quoted(const QString& s)
{
    QByteArray t = platform::encodePath(s);
    t.replace("\"", "\"\"");
    return '"' + t + '"';
}

// A position as written: near the ends of the 32-bit range, seven digits
// would round it beyond them and the next start could not read the line, so
// it is held to the largest value that reads back.
QByteArray position(float v)
{
    constexpr float limit = 2147483000.0F; // written as 2.147483E+09
    return formatSingle(std::clamp(v, -limit, limit));
}

QByteArray yesNo(bool b)
{
    return b ? QByteArrayLiteral("#TRUE#") : QByteArrayLiteral("#FALSE#");
}

// A cursor over the content, reading one field at a time.
class Fields
{
public:
    explicit Fields(const QByteArray& c) : c_(c) {}

    bool text(QString& out)
    {
        if (exhausted_)
            return false;
        skipSpaces();
        QByteArray t;
        if (pos_ < c_.size() && c_[pos_] == '"') {
            ++pos_;
            for (;;) {
                if (pos_ >= c_.size())
                    return false; // no closing quote
                const char ch = c_[pos_++];
                if (ch == '"') {
                    if (pos_ < c_.size() && c_[pos_] == '"') {
                        t += '"';
                        ++pos_;
                        continue;
                    }
                    break;
                }
                t += ch;
            }
            skipSpaces();
            if (!endOfField())
                return false;
        } else {
            t = bare();
        }
        out = platform::decodePath(t);
        return true;
    }

    bool number(std::int32_t& out)
    {
        QByteArray b = bare().trimmed();
        if (b.startsWith('+'))
            b.remove(0, 1);
        if (b.isEmpty())
            return false;
        double v = 0;
        const auto [end, ec] = std::from_chars(b.constData(), b.constData() + b.size(), v);
        if (ec != std::errc() || end != b.constData() + b.size())
            return false;
        return roundToInt32(v, out);
    }

    bool number16(std::int16_t& out)
    {
        std::int32_t v = 0;
        if (!number(v) || v < std::numeric_limits<std::int16_t>::min() ||
            v > std::numeric_limits<std::int16_t>::max())
            return false;
        out = static_cast<std::int16_t>(v);
        return true;
    }

    bool yesNo(bool& out)
    {
        const QByteArray b = bare().trimmed();
        if (b == "#TRUE#")
            out = true;
        else if (b == "#FALSE#")
            out = false;
        else
            return false;
        return true;
    }

private:
    void skipSpaces()
    {
        while (pos_ < c_.size() && (c_[pos_] == ' ' || c_[pos_] == '\t'))
            ++pos_;
    }
    bool atLineEnd() const { return pos_ >= c_.size() || c_[pos_] == '\r' || c_[pos_] == '\n'; }
    // After a field: a comma (consumed) or the end of the line.
    bool endOfField()
    {
        if (pos_ < c_.size() && c_[pos_] == ',') {
            ++pos_;
            return true;
        }
        exhausted_ = true;
        return atLineEnd();
    }
    // An unquoted field: up to the next comma or the end of the line.
    QByteArray bare()
    {
        if (exhausted_)
            return {}; // numbers and yes/no fail on an empty field
        const qsizetype start = pos_;
        while (!atLineEnd() && c_[pos_] != ',')
            ++pos_;
        QByteArray b = c_.mid(start, pos_ - start);
        if (pos_ < c_.size() && c_[pos_] == ',')
            ++pos_;
        else
            exhausted_ = true; // that was the line's last field
        return b;
    }

    const QByteArray& c_;
    qsizetype pos_ = 0;
    bool exhausted_ = false; // the line has no more fields
};

// How each form is written, how it is read, and what a field read gives back
// to the writer.
template <class Form> struct Codec;
template <> struct Codec<Twips> {
    static QByteArray put(float v) { return position(v); }
    static bool get(Fields& f, std::int32_t& out) { return f.number(out); }
    static float written(std::int32_t v) { return static_cast<float>(v); }
};
template <> struct Codec<Int32> {
    static QByteArray put(std::int32_t v) { return QByteArray::number(v); }
    static bool get(Fields& f, std::int32_t& out) { return f.number(out); }
    static std::int32_t written(std::int32_t v) { return v; }
};
template <> struct Codec<Int16In32> {
    static QByteArray put(std::int16_t v) { return QByteArray::number(v); }
    static bool get(Fields& f, std::int32_t& out) { return f.number(out); }
    static std::int16_t written(std::int32_t v) { return static_cast<std::int16_t>(v); }
};
template <> struct Codec<Int16> {
    static QByteArray put(std::int16_t v) { return QByteArray::number(v); }
    static bool get(Fields& f, std::int16_t& out) { return f.number16(out); }
    static std::int16_t written(std::int16_t v) { return v; }
};
template <> struct Codec<Text> {
    static QByteArray put(const QString& v) { return quoted(v); }
    static bool get(Fields& f, QString& out) { return f.text(out); }
    static QString written(const QString& v) { return v; }
};
template <> struct Codec<Flag> {
    static QByteArray put(bool v) { return yesNo(v); }
    static bool get(Fields& f, bool& out) { return f.yesNo(out); }
    static bool written(bool v) { return v; }
};

} // namespace

bool roundToInt32(double v, std::int32_t& out)
{
    if (!std::isfinite(v))
        return false;
    const double r = std::nearbyint(v); // the default rounding mode: halves to even
    if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return false;
    out = static_cast<std::int32_t>(r);
    return true;
}

QByteArray formatSingle(float v)
{
    if (v == 0)
        return QByteArrayLiteral("0");
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
    if (ec != std::errc())
        return QByteArrayLiteral("0");
    QByteArray s(buf, static_cast<qsizetype>(end - buf));
    return s.toUpper(); // 1.5e+07 -> 1.5E+07
}

QByteArray write(const Values& v)
{
    QByteArray line;
#define X(name, form, ...) line += (line.isEmpty() ? "" : ",") + Codec<form>::put(v.name);
    SETTINGS_LINE_FIELDS(X)
#undef X
    return line + "\r\n";
}

Read read(const QByteArray& content)
{
    Read r;
    Fields f(content);
    // The first field that fails ends the reading.
#define X(name, form, ...)                                                                                   \
    if (!Codec<form>::get(f, r.name))                                                                        \
        return r;                                                                                            \
    ++r.fieldsRead;
    SETTINGS_LINE_FIELDS(X)
#undef X
    return r;
}

Values valuesOf(const Read& r)
{
    Values v;
#define X(name, form, ...) v.name = Codec<form>::written(r.name);
    SETTINGS_LINE_FIELDS(X)
#undef X
    return v;
}

} // namespace settings
