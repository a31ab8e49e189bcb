// Reading data tables as spreadsheets export them.

#include "merge_fixtures.h"

#include <QTemporaryDir>

namespace {

// Rows as "a|b" joined by " / ", the header first.
QString Flatten(const TDataTable& T)
{
    QStringList rows{T.Columns->join(QLatin1Char('|'))};
    for (const QStringList& r : T.Rows)
        rows << r.join(QLatin1Char('|'));
    return rows.join(QStringLiteral(" / "));
}

TEST(DataTable, ReadsWhatSpreadsheetsWrite)
{
    struct Case {
        const char* Label;
        QByteArray Bytes;
        const char* Want;  // UTF-8
        char Delimiter;
        const char* Encoding;
    };
    const Case cases[] = {
        {"semicolon, CR LF", "Name;Preis\r\nApfel;1,20\r\nBirne;0,90\r\n", "Name|Preis / Apfel|1,20 / Birne|0,90", ';',
         "UTF-8"},
        {"comma, LF, no final break", "Name,Preis\nApfel,1.20\nBirne,0.90", "Name|Preis / Apfel|1.20 / Birne|0.90", ',',
         "UTF-8"},
        {"tab", "Name\tOrt\nAnna Maier\tBad Tölz\n", "Name|Ort / Anna Maier|Bad Tölz", '\t', "UTF-8"},
        {"semicolon beats decimal commas", "Name;Preis;Gewicht\nKäse;3,50;0,25\n",
         "Name|Preis|Gewicht / Käse|3,50|0,25", ';', "UTF-8"},
        {"quoted delimiter and doubled quotes", "Name;Zitat\n\"Müller; Hans\";\"Er sagte \"\"Hallo\"\"\"\n",
         "Name|Zitat / Müller; Hans|Er sagte \"Hallo\"", ';', "UTF-8"},
        {"line breaks inside quotes", "Name;Adresse\r\nAnna;\"Hauptstr. 1\r\n12345 Ort\"\r\nBert;\"A\nB\"\r\n",
         "Name|Adresse / Anna|Hauptstr. 1\r\n12345 Ort / Bert|A\nB", ';', "UTF-8"},
        {"delimiter inside a quoted header does not count", "\"a,b\";c\n1;2\n", "a,b|c / 1|2", ';', "UTF-8"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFName;Preis\nÄpfel;1\n", "Name|Preis / Äpfel|1", ';', "UTF-8"},
        {"Windows-1252", "Name;Preis\nK\xE4se;3,50 \x80\nStra\xDF" "e;\x84gut\x93\n",
         "Name|Preis / Käse|3,50 € / Straße|„gut“", ';', "Windows-1252"},
        {"UTF-16 with its mark", QByteArray("\xFF\xFE" "N\0a\0m\0e\0\t\0O\0r\0t\0\n\0A\0\t\0\xFC\0\n\0", 28),
         "Name|Ort / A|ü", '\t', "UTF-16"},
        {"blank lines and rows of empty cells are skipped", "Name;Preis\n\nApfel;1\n;\n\r\n", "Name|Preis / Apfel|1",
         ';', "UTF-8"},
        {"empty cells and blanks around unquoted cells", "Name ; Preis\nApfel;\n ;2\n", "Name|Preis / Apfel| / |2",
         ';', "UTF-8"},
        {"one column", "Name\nAnna\nBert\n", "Name / Anna / Bert", ',', "UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        TDataTable t;
        try {
            t = ParseDataTable(c.Bytes, QStringLiteral("daten.csv"));
        } catch (const EMergeError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(Flatten(t), QString::fromUtf8(c.Want));
        EXPECT_EQ(t.Delimiter, QLatin1Char(c.Delimiter));
        EXPECT_EQ(t.Encoding, QString::fromLatin1(c.Encoding));
        for (const QStringList& r : t.Rows)
            EXPECT_EQ(r.size(), t.Columns->size());
    }
}

TEST(DataTable, RefusesWhatCannotBeMerged)
{
    struct Case {
        const char* Label;
        QByteArray Bytes;
        const char* Want;
    };
    const Case cases[] = {
        {"empty", "", "Die Datendatei \"daten.csv\" ist leer"},
        {"only a byte-order mark and blank lines", "\xEF\xBB\xBF\r\n\r\n", "Die Datendatei \"daten.csv\" ist leer"},
        {"no header row: numbers", "12;3,50\n13;4,00\n",
         "Die erste Zeile der Datendatei \"daten.csv\" enthält keine Spaltennamen – bitte eine Kopfzeile mit den "
         "Namen der Spalten einfügen"},
        {"no header row: prices", "Apfel;1,20 €\n",
         "Die erste Zeile der Datendatei \"daten.csv\" enthält keine Spaltennamen – bitte eine Kopfzeile mit den "
         "Namen der Spalten einfügen"},
        {"header only", "Name;Preis\r\n", "Die Datendatei \"daten.csv\" hat nur eine Kopfzeile und keine Datensätze"},
        {"row with fewer cells", "Name;Preis;Gewicht\nApfel;1;2\nBirne;3\n",
         "Datensatz 2 in \"daten.csv\" hat 2 Zellen, die Kopfzeile aber 3 Spalten"},
        {"row with more cells", "Name;Preis\nApfel;1;2\n",
         "Datensatz 1 in \"daten.csv\" hat 3 Zellen, die Kopfzeile aber 2 Spalten"},
        {"a name twice", "Name;Preis;name\na;b;c\n", "Die Spalte \"name\" kommt in der Kopfzeile von \"daten.csv\" zweimal vor"},
        {"quote never closed", "Name;Preis\nApfel;\"1,20\nBirne;2\n",
         "Die Datendatei \"daten.csv\" ist fehlerhaft: in Datensatz 1 ist ein Anführungszeichen nicht richtig "
         "geschlossen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        EXPECT_EQ(MergeErrorOf([&] { ParseDataTable(c.Bytes, QStringLiteral("daten.csv")); }),
                  QString::fromUtf8(c.Want));
    }
}

TEST(DataTable, RecordsAreNumberedFromOneAndLookUpColumnsWithoutCase)
{
    const TDataTable t = PriceTable(3);
    const TMergeRecord r = t.Record(2);
    EXPECT_EQ(r.Number, 2);
    EXPECT_EQ(r.Value(QStringLiteral("ARTIKEL")), QStringLiteral("Artikel 2"));
    EXPECT_EQ(r.Value(QStringLiteral("preis")), QStringLiteral("2,99"));
    EXPECT_EQ(r.Value(QStringLiteral("Gewicht")), std::nullopt);
    EXPECT_EQ(MergeErrorOf([&] { t.Record(4); }), QStringLiteral("Datensatz 4 gibt es nicht (die Datei hat 3 Datensätze)"));
    EXPECT_EQ(MergeErrorOf([&] { t.Record(0); }), QStringLiteral("Datensatz 0 gibt es nicht (die Datei hat 3 Datensätze)"));
}

TEST(DataTable, ColumnsNamedLikePlaceholdersAreReported)
{
    const TDataTable t = ParseDataTable("Nr;Name;datum\n1;a;b\n", QStringLiteral("x.csv"));
    EXPECT_EQ(t.HiddenColumns(), (QStringList{"Nr", "datum"}));
    EXPECT_EQ(t.ColumnList(), QStringLiteral("Nr, Name, datum"));
}

TEST(DataTable, FilesThatAreMissingOrHugeAreRefused)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("fehlt.csv"));
    EXPECT_EQ(MergeErrorOf([&] { LoadDataTable(missing); }),
              QStringLiteral("Die Datendatei \"%1\" wurde nicht gefunden").arg(missing));
    const QString huge = dir.filePath(QStringLiteral("riesig.csv"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(65LL * 1024 * 1024));
    }
    EXPECT_EQ(MergeErrorOf([&] { LoadDataTable(huge); }),
              QStringLiteral("Die Datendatei \"riesig.csv\" ist zu groß (höchstens 64 MB)"));
    const QString good = dir.filePath(QStringLiteral("gut.csv"));
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("A;B\n1;2\n");
    }
    const TDataTable t = LoadDataTable(good);
    EXPECT_EQ(t.FileName, good);
    EXPECT_EQ(t.Count(), 1);
}

}  // namespace
