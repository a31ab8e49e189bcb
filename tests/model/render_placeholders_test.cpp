// Filling in the placeholders of label texts.

#include "model/placeholders.h"

#include <gtest/gtest.h>

namespace {

class Placeholders : public testing::Test {
protected:
    void SetUp() override { SetPlaceholderClock(QDateTime(QDate(2026, 3, 7), QTime(9, 4, 59))); }
    void TearDown() override { SetPlaceholderClock(std::nullopt); }
};

TEST_F(Placeholders, ReplacesEveryOccurrenceIgnoringCase)
{
    struct Case {
        const char* Text;
        int CopyNo;
        const char* Want;
    };
    const Case Cases[] = {
        {"{DATUM}", 1, "07.03.2026"},
        {"{datum}", 1, "07.03.2026"},
        {"{ZEIT}", 1, "09:04"},
        {"um {Zeit} Uhr", 1, "um 09:04 Uhr"},
        {"{JAHR}/{jahr}", 1, "2026/2026"},
        {"Nr. {nr}", 12, "Nr. 12"},
        {"{NR}-{Nr}-{nR}", 3, "3-3-3"},
        {"{NR}", 0, "0"},
        {"{NR}", 1000000, "1000000"},
        {"Abgefüllt am {DATUM}, {ZEIT}", 2, "Abgefüllt am 07.03.2026, 09:04"},
        {"{NR", 5, "{NR"},
        {"{ NR}", 5, "{ NR}"},
        {"{FOO} {}", 5, "{FOO} {}"},
        {"", 5, ""},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ExpandPlaceholders(QString::fromUtf8(C.Text), C.CopyNo).toStdString(), C.Want) << C.Text;
}

TEST_F(Placeholders, TimeHasTwentyFourHours)
{
    SetPlaceholderClock(QDateTime(QDate(999, 12, 31), QTime(23, 0)));
    EXPECT_EQ(ExpandPlaceholders(QStringLiteral("{DATUM} {ZEIT} {JAHR}"), 1),
              QStringLiteral("31.12.0999 23:00 0999"));
}

TEST_F(Placeholders, WithoutAFixedClockTheCurrentDateIsUsed)
{
    SetPlaceholderClock(std::nullopt);
    const QDate Before = QDate::currentDate();
    const QString S = ExpandPlaceholders(QStringLiteral("{DATUM}"), 1);
    const QDate After = QDate::currentDate();
    EXPECT_TRUE(S == Before.toString(QStringLiteral("dd.MM.yyyy")) ||
                S == After.toString(QStringLiteral("dd.MM.yyyy")))
        << S.toStdString();
}

}  // namespace
