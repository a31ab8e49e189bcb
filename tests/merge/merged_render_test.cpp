// A label rendered with a record looks exactly like the label with the
// record's values typed in; a field without a column stops the print.

#include "merge/field_check.h"
#include "merge/record_range.h"
#include "merge_fixtures.h"
#include "model/code_types.h"
#include "model/model_error.h"
#include "model/placeholders.h"
#include "protocol/raster.h"

namespace {

TEST(MergedRender, EveryRecordEqualsTheValuesTypedIn)
{
    const TDataTable table = ParseDataTable(
        "Artikel;Preis;Herkunft\r\n"
        "Äpfel Boskoop;2,49;Bodensee\r\n"
        "\"Käse \"\"alt\"\"\";12,90;Allgäu\r\n"
        "\"Brot\r\nRoggen\";3,20;\r\n",
        QStringLiteral("preise.csv"));
    const auto merged = PriceTagLabel();
    for (int n = 1; n <= table.Count(); ++n) {
        SCOPED_TRACE(n);
        const TMergeRecord r = table.Record(n);
        const auto typed = PriceTagTyped(*r.Value(QStringLiteral("Artikel")), *r.Value(QStringLiteral("Preis")));
        for (int copy : {1, 3}) {
            EXPECT_TRUE(merged->RenderBitmap(false, copy, &r) == typed->RenderBitmap(false, copy))
                << "screen picture differs, copy " << copy;
            const TNbMonoImage a = merged->RenderMono(copy, &r);
            const TNbMonoImage b = typed->RenderMono(copy);
            EXPECT_TRUE(a.Dots == b.Dots && a.Height == b.Height) << "print raster differs, copy " << copy;
        }
    }
}

TEST(MergedRender, WithoutARecordFieldsShowAsTyped)
{
    const auto merged = PriceTagLabel();
    const auto typed = PriceTagTyped(QStringLiteral("{Artikel}"), QStringLiteral("{preis}"));
    EXPECT_TRUE(merged->RenderBitmap(false, 1) == typed->RenderBitmap(false, 1));
}

TEST(MergedRender, UnknownFieldsRefuseToPrintNamingTheColumns)
{
    const auto doc = PriceTagLabel();
    EXPECT_NO_THROW(CheckFields(*doc, PriceTable(2)));
    const TDataTable other = ParseDataTable("Artikel;Gewicht;Nr\na;1;2\n", QStringLiteral("x.csv"));
    EXPECT_EQ(UnknownFields(*doc, other), QStringList{"preis"});
    EXPECT_EQ(MergeErrorOf([&] { CheckFields(*doc, other); }),
              QStringLiteral("Unbekanntes Feld {preis} – die Datei hat die Spalten: Artikel, Gewicht, Nr"));
    const TDataTable none = ParseDataTable("Gewicht\n1\n", QStringLiteral("x.csv"));
    EXPECT_EQ(MergeErrorOf([&] { CheckFields(*doc, none); }),
              QStringLiteral("Unbekannte Felder {Artikel}, {preis} – die Datei hat die Spalten: Gewicht"));
    EXPECT_EQ(LabelFields(*doc), (QStringList{"Artikel", "preis"}));
}

TEST(MergedRender, CodesTakeTheirDataFromTheRecordToo)
{
    const TDataTable table = ParseDataTable("Artikel;EAN\nÄpfel;400638133393\nBirnen;ABC\n", QStringLiteral("ean.csv"));
    const auto label = [](const QString& Data) {
        auto doc = std::make_unique<TLabelDoc>();
        TLabelElement* e = doc->Elements.Add(std::make_unique<TLabelElement>(ekCode));
        e->X = 8;
        e->Y = 8;
        e->W = 368;
        e->H = 200;
        e->CodeType = ctEan13;
        e->Text = Data;
        return doc;
    };
    const auto merged = label(QStringLiteral("{ean}"));
    EXPECT_EQ(LabelFields(*merged), QStringList{"ean"});
    EXPECT_NO_THROW(CheckFields(*merged, table));
    const TMergeRecord first = table.Record(1);
    const TNbMonoImage a = merged->RenderMono(1, &first);
    const TNbMonoImage b = label(QStringLiteral("400638133393"))->RenderMono(1);
    EXPECT_TRUE(a.Dots == b.Dots && a.Height == b.Height);
    // A record whose value the symbology cannot hold is never printed.
    const TMergeRecord second = table.Record(2);
    EXPECT_THROW(merged->RenderMono(1, &second), EModelError);
}

TEST(RecordRange, ParsesWhatUsersType)
{
    struct Case {
        const char* Text;
        std::vector<int> Want;
    };
    const Case cases[] = {
        {"", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"1-5, 8", {1, 2, 3, 4, 5, 8}},
        {" 3 ;1 ", {3, 1}},
        {"9–10", {9, 10}},
        {"4-4,4", {4, 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRecordRange(QString::fromUtf8(c.Text), 10), c.Want) << c.Text;
    EXPECT_EQ(FormatRecordRange({1, 2, 3, 4, 5, 8, 10, 11}), QStringLiteral("1-5, 8, 10-11"));
    EXPECT_EQ(FormatRecordRange({}), QString());

    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("1-5, x"), 10); }),
              QStringLiteral("Ungültige Auswahl \"x\" – erwartet wird etwa 1-5, 8"));
    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("1,"), 10); }),
              QStringLiteral("Ungültige Auswahl \"\" – erwartet wird etwa 1-5, 8"));
    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("8-11"), 10); }),
              QStringLiteral("Datensatz 11 gibt es nicht (die Datei hat 10 Datensätze)"));
    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("0"), 10); }),
              QStringLiteral("Datensatz 0 gibt es nicht (die Datei hat 10 Datensätze)"));
    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("99999999999"), 10); }),
              QStringLiteral("Datensatz 99999999999 gibt es nicht (die Datei hat 10 Datensätze)"));
    EXPECT_EQ(MergeErrorOf([] { ParseRecordRange(QStringLiteral("7-3"), 10); }),
              QStringLiteral("Der Bereich 7-3 läuft rückwärts – gemeint ist wohl 3-7"));
}

}  // namespace
