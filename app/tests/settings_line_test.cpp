// The settings line: field forms on the way out, rounding, ranges and damage
// on the way in, and byte-exact round trips.
#include "app/settings_line.h"

#include <gtest/gtest.h>

using settings::Read;

namespace {
const QByteArray sample =
    "3000,1500,3000,4800,\"/signs/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000,0\r\n";

} // namespace

TEST(SettingsLine, SingleFormsAsTheFileShowsThem)
{
    const struct {
        float v;
        const char* text;
    } rows[] = {
        {1425, "1425"},     {-90, "-90"},         {0, "0"},           {1425.5f, "1425.5"},
        {1.5e7f, "1.5E+07"}, {12345678, "1.234568E+07"}, {9999999, "9999999"}, {-0.25f, "-0.25"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(settings::formatSingle(r.v), QByteArray(r.text)) << r.text;
}

TEST(SettingsLine, TheSampleLineReadsAndWritesBackByteForByte)
{
    const Read r = settings::read(sample);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.busLeft, 3000);
    EXPECT_EQ(r.panelTop, 4800);
    EXPECT_EQ(r.signFolder, QStringLiteral("/signs/"));
    EXPECT_TRUE(r.kanbanShown && r.frameShown);
    EXPECT_EQ(r.speed1, 10000);
    EXPECT_EQ(r.speed2, 6000);
    EXPECT_EQ(settings::write(settings::valuesOf(r)), sample);
}

TEST(SettingsLine, ReadingRoundsHalvesToEvenAndChecksRanges)
{
    const struct {
        const char* field1;
        bool ok;
        std::int32_t value;
    } rows[] = {
        {"2.5", true, 2},          {"3.5", true, 4},       {"-2.5", true, -2}, {"1425.4999", true, 1425},
        {"1.5E+07", true, 15000000}, {"+7", true, 7},       {" 12 ", true, 12}, {"2147483647", true, 2147483647},
        {"2147483648", false, 0},  {"-2147483649", false, 0}, {"1e300", false, 0}, {"abc", false, 0},
        {"", false, 0},            {"inf", false, 0},      {"nan", false, 0},  {"12x", false, 0},
    };
    for (const auto& row : rows) {
        QByteArray line = sample;
        line.replace(0, 4, row.field1);
        const Read r = settings::read(line);
        EXPECT_EQ(r.ok(), row.ok) << row.field1;
        if (row.ok)
            EXPECT_EQ(r.busLeft, row.value) << row.field1;
        else
            EXPECT_EQ(r.fieldsRead, 0) << row.field1;
    }
}

TEST(SettingsLine, DamagedLinesStopAtTheFieldThatFails)
{
    const struct {
        QByteArray line;
        int fieldsRead;
        const char* what;
    } rows[] = {
        {"3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000", 15, "15 fields"},
        {"3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000,0,99\r\n", 16, "17 fields: the rest is ignored"},
        {"3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000,0", 16, "no CR LF"},
        {"3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#true#,#TRUE#,10000,6000,0\r\n", 11, "yes/no in lower case"},
        {"3000,1500,3000,4800,\"/s/\",\"\",0,0,\"\",7470,1710,#TRUE#,#TRUE#,10000,6000,40000\r\n", 15, "mode beyond 16 bits"},
        {"3000,1500,3000,4800,\"/s/,\"\",0,0", 4, "a text without its closing quote"},
        {"3000,1500\r\n3000,4800", 2, "the second line is not read"},
        {"", 0, "empty file"},
        {"\xff\xfe\x00\x01", 0, "binary"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(settings::read(row.line).fieldsRead, row.fieldsRead) << row.what;
}

TEST(SettingsLine, QuotesAndNonAsciiTextsRoundTrip)
{
    settings::Values v;
    v.signFolder = QStringLiteral("/home/ユーザー/行先 \"特急\",幕/");
    v.kanbanPicture = QStringLiteral("/tmp/a\"\"b.bmp");
    v.reservedText = QStringLiteral("keep, me");
    v.reserved1 = -7;
    v.reserved2 = 2147483647;
    v.speed1 = 1;
    v.speed2 = 30000;
    v.mode = 2;
    const QByteArray line = settings::write(v);
    EXPECT_TRUE(line.contains("\"/home/ユーザー/行先 \"\"特急\"\",幕/\"")) << line.constData();
    const Read r = settings::read(line);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.signFolder, v.signFolder);
    EXPECT_EQ(r.kanbanPicture, v.kanbanPicture);
    EXPECT_EQ(r.reservedText, v.reservedText);
    EXPECT_EQ(r.reserved1, -7);
    EXPECT_EQ(r.reserved2, 2147483647);
    EXPECT_EQ(r.mode, 2);
    EXPECT_EQ(settings::write(settings::valuesOf(r)), line) << "saving twice writes the same bytes";
    // A text without quotes in it is written exactly as it stands.
    v.signFolder = QStringLiteral("/signs");
    EXPECT_TRUE(settings::write(v).contains(",\"/signs\","));
}
