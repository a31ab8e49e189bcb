// Fields of a data merge in element texts.

#include "model/fields.h"
#include "model/placeholders.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TMergeRecord Record(const QStringList& Columns, const QStringList& Values)
{
    return TMergeRecord{std::make_shared<const QStringList>(Columns), Values, 1};
}

TEST(Fields, AreFoundOnceEachButNotThePlaceholders)
{
    struct Case {
        const char* Text;
        QStringList Want;
    };
    const Case cases[] = {
        {"{Name}", {"Name"}},
        {"{Name} {name} {Preis}", {"Name", "Preis"}},
        {"{DATUM} {zeit} {Jahr} {nr} {Ort}", {"Ort"}},
        {"{Vor Name}", {"Vor Name"}},
        {"{} { } {{Preis}} {a\nb} {offen", {" ", "Preis"}},
        {"kein Feld", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldNames(QString::fromUtf8(c.Text)), c.Want) << c.Text;
}

TEST(Fields, AreFilledFromTheRecordAndUnknownOnesStayAsTyped)
{
    const TMergeRecord r = Record({"Name", "Preis", "Leer", "Nr"}, {"Anna {Preis}", "3,50", "", "77"});
    struct Case {
        const char* Text;
        const char* Want;
    };
    const Case cases[] = {
        {"{Name}: {PREIS} €", "Anna {Preis}: 3,50 €"},  // a value's braces are not filled again
        {"[{Leer}]", "[]"},
        {"{Gewicht} kg", "{Gewicht} kg"},
        {"{{preis}}", "{3,50}"},
        {"Nr. {NR}", "Nr. 5"},  // the copy number, not the column
        {"ohne", "ohne"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandElementText(QString::fromUtf8(c.Text), 5, &r), QString::fromUtf8(c.Want)) << c.Text;
    EXPECT_EQ(ExpandFields(QStringLiteral("{Name}"), nullptr), QStringLiteral("{Name}"));
}

TEST(Fields, PlaceholdersInAValueAreNotFilledIn)
{
    SetPlaceholderClock(QDateTime(QDate(2026, 3, 7), QTime(9, 4)));
    const TMergeRecord r = Record({"Text"}, {"{DATUM} {NR}"});
    EXPECT_EQ(ExpandElementText(QStringLiteral("{Datum}: {text}"), 2, &r), QStringLiteral("07.03.2026: {DATUM} {NR}"));
    SetPlaceholderClock(std::nullopt);
}

}  // namespace
