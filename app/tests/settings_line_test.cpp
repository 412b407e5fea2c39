// The settings line: field forms on the way out, rounding, ranges and damage
// on the way in, and byte-exact round trips.
#include "app/settings_line.h"

#include <gtest/gtest.h>

const QByteArray sample =
    "3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000,0\r\n";

TEST(SettingsLine, NumbersAsTheFileShowsThemAndAsTheyAreRead)
{
    // Each form written as it reads; beyond seven digits, rounded to them.
    for (const char* text : {"1425", "-90", "0", "1425.5", "1.5E+07", "-0.25", "9999999"})
        EXPECT_EQ(settings::formatSingle(QByteArray(text).toFloat()), QByteArray(text)) << text;
    EXPECT_EQ(settings::formatSingle(12345678), QByteArray("1.234568E+07"));
    // Whole numbers read from any single form: halves to even, 32-bit range;
    // what was read is written so that the whole line reads the same again,
    // the ends of the range held to what seven digits can say.
    const std::tuple<const char*, std::int32_t, std::int32_t> good[] = {
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"1.5E+07", 15000000, 15000000},
        {"+7", 7, 7},
        {" 12 ", 12, 12},
        {"2147483647", 2147483647, 2147483000},
        {"-2147483648", -2147483647 - 1, -2147483000}};
    for (const auto& [field, value, readAgain] : good) {
        const settings::Read r = settings::read(QByteArray(sample).replace(0, 4, field));
        settings::Read want = r;
        want.busLeft = readAgain;
        EXPECT_TRUE(r.ok() && r.busLeft == value) << field;
        EXPECT_TRUE(settings::read(settings::write(settings::valuesOf(r))) == want) << field;
    }
    for (const char* field : {"2147483648", "-2147483649", "1e300", "abc", "", "inf", "nan", "12x"})
        EXPECT_EQ(settings::read(QByteArray(sample).replace(0, 4, field)).fieldsRead, 0) << field;
}

TEST(SettingsLine, DamagedLinesStopAtTheFieldThatFails)
{
    const std::pair<QByteArray, int> rows[] = {
        {sample.left(sample.lastIndexOf(',')), 15},                         // 15 fields
        {QByteArray(sample).replace("0\r\n", "0,99\r\n"), 16},              // a 17th is ignored
        {sample.left(sample.size() - 2), 16},                               // no CR LF
        {QByteArray(sample).replace("#TRUE#,#TRUE#", "#true#,#TRUE#"), 11}, // yes/no in lower case
        {QByteArray(sample).replace("6000,0\r", "6000,40000\r"), 15},       // mode beyond 16 bits
        {QByteArray(sample).replace("\"/s/\"", "\"/s/\"x"), 4},             // junk after a text's quote
        {QByteArray(sample).replace("\"/s/\",", "\"/s/,"), 4}, // a text without its closing quote
        {"3000,1500\r\n3000,4800", 2},                         // the second line is not read
    };
    for (const auto& [line, fields] : rows)
        EXPECT_EQ(settings::read(line).fieldsRead, fields) << line.constData();
}

// Quotes in texts are doubled, commas and other scripts kept, reserved values
// kept at their extremes: what is read is written back byte for byte.
TEST(SettingsLine, TextsAndReservedFieldsRoundTrip)
{
    const QByteArray line =
        "3000,1500,3000,4800,\"/home/ユーザー/行先 \"\"特急\"\",幕/\",\"keep, me\",-7,2147483647,"
        "\"/tmp/a\"\"\"\"b.bmp\",7470,1710,#FALSE#,#TRUE#,1,30000,2\r\n";
    const settings::Read r = settings::read(line);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.signFolder, QStringLiteral("/home/ユーザー/行先 \"特急\",幕/"));
    EXPECT_TRUE(r.kanbanPicture == "/tmp/a\"\"b.bmp" && r.reservedText == "keep, me" && r.reserved1 == -7);
    EXPECT_EQ(settings::write(settings::valuesOf(r)), line);
    EXPECT_EQ(settings::write(settings::valuesOf(settings::read(sample))), sample);
}
