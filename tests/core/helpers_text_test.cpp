#include "core/helpers.h"
#include "core/scriptedprompter.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace core;

namespace {

// Number texts depend on the locale: the tests pin it.
class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

TEST(MessageBoxTest, BoxesGoThroughThePrompterWithTheirKinds)
{
    ScriptedPrompter scripted;
    setPrompter(&scripted);
    ErrorBox("bad thing");
    WarningBox("careful");
    InfoBox("fyi");
    setPrompter(nullptr);
    ASSERT_EQ(scripted.records().size(), 3);
    EXPECT_EQ(scripted.records()[0].kind, ScriptedPrompter::Kind::Error);
    EXPECT_EQ(scripted.records()[0].text, "bad thing");
    EXPECT_EQ(scripted.records()[1].kind, ScriptedPrompter::Kind::Warning);
    EXPECT_EQ(scripted.records()[1].text, "careful");
    EXPECT_EQ(scripted.records()[2].kind, ScriptedPrompter::Kind::Info);
    EXPECT_EQ(scripted.records()[2].text, "fyi");
}

TEST(TextTestsTest, CharacterClasses)
{
    struct Row {
        char16_t c;
        bool letter, digit, blank;
    };
    const Row rows[] = {
        {u'A', true, false, false},  {u'Z', true, false, false},   {u'a', true, false, false},
        {u'z', true, false, false},  {u'0', false, true, false},   {u'9', false, true, false},
        {u'@', false, false, false}, {u'[', false, false, false},  {u'`', false, false, false},
        {u'{', false, false, false}, {u'/', false, false, false},  {u':', false, false, false},
        {u' ', false, false, true},  {u'\b', false, false, true},  {u'\n', false, false, true},
        {u'\r', false, false, true}, {u'\t', false, false, false}, {u'\0', false, false, false},
        {u'\u00e9', false, false, false}, {u'\u0661', false, false, false}, {u'\u00a0', false, false, false},
    };
    for (const Row& row : rows) {
        const QChar c(row.c);
        EXPECT_EQ(IsLetter(c), row.letter) << int(row.c);
        EXPECT_EQ(IsDigit(c), row.digit) << int(row.c);
        EXPECT_EQ(IsLetterOrDigit(c), row.letter || row.digit) << int(row.c);
        EXPECT_EQ(IsBlankChar(c), row.blank) << int(row.c);
    }
}

TEST(TextTestsTest, BlankTextAndDigits)
{
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText(" \r\n\b "));
    EXPECT_FALSE(IsBlankText(" \t "));
    EXPECT_FALSE(IsBlankText("  x"));
    EXPECT_EQ(DigitsOnly("a1b2-3 4"), "1234");
    EXPECT_EQ(DigitsOnly("none"), "");
    EXPECT_EQ(DigitsOnly(""), "");
}

TEST(TextTestsTest, StrToIntOrZero)
{
    struct Row {
        const char* text;
        qint64 expected;
    };
    const Row rows[] = {
        {"12", 12},     {"-5", -5},         {"+8", 8},           {" 7 ", 7},  {"abc", 0},
        {"12a", 0},     {"", 0},            {"3000000000", 3000000000LL}, {"1.5", 0}, {"0x10", 0},
        {"- 3", 0},     {"99999999999999999999", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StrToIntOrZero(row.text), row.expected) << "text '" << row.text << "'";
}

TEST_F(LocaleTest, StrToFloatOrZeroUsesTheLocale)
{
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero(" 42 "), 42.0);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("x"), 0.0);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero(""), 0.0);
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("1.5.5"), 0.0);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(StrToFloatOrZero("1,5"), 1.5);
}

TEST(TextTestsTest, TabField)
{
    struct Row {
        const char* text;
        int n;
        const char* expected;
    };
    const Row rows[] = {
        {"a\tb\t c ", 1, "a"},
        {"a\tb\t c ", 2, "b"},
        {"a\tb\t c ", 3, "c"},
        {"a\tb\t c ", 4, ""},
        {"a\tb\t c ", 0, ""},
        {"a\tb\t c ", -1, ""},
        {"  whole text \r\n", 1, "whole text"},
        {"  whole text ", 2, ""},
        {"", 1, ""},
        {"", 2, ""},
        {"a\t\tc", 2, ""},
        {"a\t\tc", 3, "c"},
        {"\x01 x \x02\t", 1, "x"},
        {"a\t", 2, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TabField(row.text, row.n), row.expected) << "text '" << row.text << "' n " << row.n;
}

TEST(TextTestsTest, JoinPath)
{
    EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath("C:\\DIR", "a.txt"), "C:\\DIR\\a.txt");
    EXPECT_EQ(JoinPath("C:\\DIR\\", "a.txt"), "C:\\DIR\\a.txt");
    EXPECT_EQ(JoinPath("C:\\DIR", ""), "C:\\DIR\\");
    EXPECT_EQ(JoinPath("", "a.txt"), "a.txt");
}

TEST_F(LocaleTest, FormatGrouped)
{
    struct Row {
        qint64 n;
        const char* expected;
    };
    const Row rows[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1,000"},
        {65536, "65,536"},
        {1000000, "1,000,000"},
        {3000000000LL, "3,000,000,000"},
        {-1, "-1"},
        {-1234567, "-1,234,567"},
        {std::numeric_limits<qint64>::max(), "9,223,372,036,854,775,807"},
        {std::numeric_limits<qint64>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatGrouped(row.n), row.expected) << row.n;
}

TEST_F(LocaleTest, FormatGroupedFRoundsToTwoDecimalsBeforeTheCut)
{
    struct Row {
        double x;
        const char* expected;
    };
    const Row rows[] = {
        {1.996, "2"},
        {1.994, "1"},
        {0.4, "0"},
        {999.999, "1,000"},
        {1000000.0, "1,000,000"},
        {1234567.891, "1,234,567"},
        {3000000000.0, "3,000,000,000"},
        {-1.996, "-2"},
        {-1234.5, "-1,234"},
        {-0.001, "0"},
        {0.0, "0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatGroupedF(row.x), row.expected) << row.x;
    EXPECT_EQ(FormatGroupedF(std::nan("")), "");
}

TEST_F(LocaleTest, GroupingFollowsTheLocaleSeparators)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatGrouped(1000000), "1.000.000");
    EXPECT_EQ(FormatGroupedF(1234.56), "1.234");
    EXPECT_EQ(FormatNumberText(1234567.4), "1.234.567");
    // The C locale groups as well, and so does a locale that groups by twos
    // elsewhere: the program always groups by thousands.
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatGrouped(1000000), "1,000,000");
    QLocale::setDefault(QLocale(QLocale::Hindi, QLocale::India));
    EXPECT_EQ(FormatGrouped(1234567), "1,234,567");
}

TEST_F(LocaleTest, FormatNumberText)
{
    struct Row {
        double x;
        const char* expected;
    };
    const Row rows[] = {
        {0.0, "0"},
        {1234.4, "1,234"},
        {1234.5, "1,235"},
        {-1234.5, "-1,235"},
        {0.4, "0"},
        {-0.4, "0"},
        {1000000.0, "1,000,000"},
        {3000000000.0, "3,000,000,000"},
        {12345678901234.0, "12,345,678,901,234"},
        {123456789012345.0, "123,456,789,012,350"},
        {123456789012345678.0, "123,456,789,012,350,000"},
        {1e20, "100,000,000,000,000,000,000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatNumberText(row.x), row.expected) << row.x;
    EXPECT_EQ(FormatNumberText(std::nan("")), "");
    EXPECT_EQ(FormatNumberText(std::numeric_limits<double>::infinity()), "");
}

TEST(RegistryTest, SettingsRootKey)
{
    EXPECT_EQ(SettingsRootKey(), "Software\\Halvane\\Trovik\\3.0");
}

}  // namespace
