// Data merge on the command line: render, job and print with --data.

#include "cli_fixture.h"

#include "merge/data_table.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"

#include <QFile>

namespace {

class CliMerge : public TCliFixture {
protected:
    void SetUp() override
    {
        TLabelDoc doc;
        doc.Name = QStringLiteral("Preis");
        doc.BgPreset = bpDoubleFrame;
        AddTextElement(doc, 18, 18, 348, 50, QStringLiteral("{Artikel}"), 30, false, laCenter);
        AddTextElement(doc, 18, 70, 348, 110, QStringLiteral("{Preis} € ({NR})"), 60, true, laCenter);
        doc.SaveToFile(HomePath("preis.pellwerk"));
        WriteFile("preise.csv", "Artikel;Preis\r\nÄpfel;2,49\r\nBirnen;1,99\r\n\"Käse\r\nalt\";12,90\r\n");
    }

    void WriteFile(const QString& Name, const QByteArray& Bytes) const
    {
        QFile f(HomePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }

    // Records (1-based) with Copies each, rendered in this process.
    TNbMonoImage Expected(const std::vector<int>& Records, int Copies, int GapDots) const
    {
        TLabelDoc doc;
        doc.LoadFromFile(HomePath("preis.pellwerk"));
        const TDataTable table = LoadDataTable(HomePath("preise.csv"));
        std::vector<TNbMonoImage> labels;
        for (const int n : Records) {
            const TMergeRecord r = table.Record(n);
            for (int c = 1; c <= Copies; ++c)
                labels.push_back(doc.RenderMono(c, &r));
        }
        return StackMonoImages(labels, GapDots);
    }
};

TEST_F(CliMerge, RenderStacksEveryChosenRecordOrWritesOnePicturePerRecord)
{
    TCliResult r = Run({"render", "preis.pellwerk", "--data", "preise.csv", "--copies", "2", "-o", "alle.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("alle.png")), Expected({1, 2, 3}, 2, 32)));
    EXPECT_EQ(r.Out.trimmed(), QStringLiteral("alle.png: 384 × 1600 Punkte, 3 Datensätze"));

    r = Run({"render", "preis.pellwerk", "--data", "preise.csv", "--records", "3,1", "--each", "-o", "e.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("e-3.png")), Expected({3}, 1, 32)));
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("e-1.png")), Expected({1}, 1, 32)));
    EXPECT_FALSE(QFile::exists(HomePath("e-2.png")));
}

TEST_F(CliMerge, TheLabelsOwnDataFileIsUsedWithoutData)
{
    TLabelDoc doc;
    doc.LoadFromFile(HomePath("preis.pellwerk"));
    doc.SetDataFilePath(HomePath("preise.csv"));
    doc.SaveToFile(HomePath("preis.pellwerk"));
    const TCliResult r = Run({"render", "preis.pellwerk", "--records", "2", "-o", "b.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("b.png")), Expected({2}, 1, 32)));
}

TEST_F(CliMerge, PrintSendsSeveralJobsThatJoinToTheBatch)
{
    // 30 mm labels in jobs of at most 60 mm: one label a job.
    TCliResult r = Run({"print", "preis.pellwerk", "--data", "preise.csv", "--job-mm", "60", "--printer",
                        "virtual:MXW01", "--pause-ms", "0", "--virtual-out", "x.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("x.png")), Expected({1, 2, 3}, 1, 32)));
    EXPECT_TRUE(r.Err.contains("Sende \"Preis\" (3 Datensätze, 1×, 3 Aufträge) …")) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains("3 Aufträge"));
    EXPECT_EQ(r.Err.count("Fertig gedruckt."), 1);

    // V5G: the paper is fed once, after the last job.
    r = Run({"print", "preis.pellwerk", "--data", "preise.csv", "--records", "2-3", "--job-mm", "60", "--printer",
             "virtual", "--pause-ms", "0", "--virtual-out", "g.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("g.png")), WithBlankRows(Expected({2, 3}, 1, 32), 64)));
}

TEST_F(CliMerge, JobWritesEveryJobInSendingOrder)
{
    const TCliResult r = Run({"job", "preis.pellwerk", "--data", "preise.csv", "--job-mm", "70", "--protocol", "v5x",
                              "-o", "j.bin"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    // Two jobs: records 1-2 (240 + 32 + 240 rows), then the gap and record 3.
    EXPECT_EQ(r.Out.trimmed(), QStringLiteral("j.bin: 37692 Byte (V5X, 784 Zeilen, 3 Datensätze in 2 Aufträgen)"));
    const QByteArray bytes = ReadFile(HomePath("j.bin"));
    ASSERT_EQ(bytes.size(), 2 * (9 + 12 + 9) + 784 * 48);
    EXPECT_EQ(bytes.mid(9, 12).toHex(), QByteArray("2221a9000400" "0002" "30000000"));
    EXPECT_EQ(bytes.mid(9 + 12 + 512 * 48 + 9 + 9, 12).toHex(), QByteArray("2221a9000400" "1001" "30000000"));
}

TEST_F(CliMerge, ALabelWithoutDataTooLongForOneV5XJobIsSplitToo)
{
    // 300 copies: 300 * 240 + 299 * 32 = 81568 rows, beyond the 65535 a V5X
    // job can announce; 29 labels fill a metre.
    const TCliResult r = Run({"job", "preis.pellwerk", "--copies", "300", "--protocol", "v5x", "-o", "l.bin"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out.trimmed(), QStringLiteral("l.bin: 3915594 Byte (V5X, 81568 Zeilen, 11 Aufträge)"));
    const QByteArray bytes = ReadFile(HomePath("l.bin"));
    qsizetype at = 0;
    int rows = 0;
    for (int job = 0; job < 11; ++job) {
        const QByteArray start = bytes.mid(at + 9, 12);
        ASSERT_TRUE(start.startsWith(QByteArray::fromHex("2221a9000400"))) << job;
        const int n = static_cast<uint8_t>(start[6]) | static_cast<uint8_t>(start[7]) << 8;
        EXPECT_LE(n, 8000);
        rows += n;
        at += 9 + 12 + qsizetype{n} * 48 + 9;
    }
    EXPECT_EQ(rows, 81568);
    EXPECT_EQ(at, bytes.size());
    // What fits one job stays one job.
    const TCliResult one = Run({"job", "preis.pellwerk", "--copies", "200", "--protocol", "v5x", "-o", "o.bin"});
    EXPECT_EQ(one.Out.trimmed(), QStringLiteral("o.bin: %1 Byte (V5X, 54368 Zeilen)").arg(30 + 54368 * 48));
}

TEST_F(CliMerge, BadDataIsRefusedBeforeAnythingIsWritten)
{
    WriteFile("falsch.csv", "Artikel;Gewicht\nA;1\n");
    WriteFile("schief.csv", "Artikel;Preis\nA;1;2\n");
    struct Case {
        QStringList Args;
        int Exit;
        const char* Message;
    };
    const Case cases[] = {
        {{"render", "preis.pellwerk", "--data", "falsch.csv", "-o", "n.png"}, 1,
         "Unbekanntes Feld {Preis} – die Datei hat die Spalten: Artikel, Gewicht"},
        {{"print", "preis.pellwerk", "--data", "falsch.csv", "--printer", "virtual", "--virtual-out", "n.png"}, 1,
         "Unbekanntes Feld {Preis} – die Datei hat die Spalten: Artikel, Gewicht"},
        {{"render", "preis.pellwerk", "--data", "schief.csv", "-o", "n.png"}, 1,
         "Datensatz 1 in \"schief.csv\" hat 3 Zellen, die Kopfzeile aber 2 Spalten"},
        {{"render", "preis.pellwerk", "--data", "preise.csv", "--records", "4", "-o", "n.png"}, 1,
         "Datensatz 4 gibt es nicht (die Datei hat 3 Datensätze)"},
        {{"render", "preis.pellwerk", "--records", "1", "-o", "n.png"}, 2,
         "--records braucht Daten: --data DATEI.csv angeben"},
        {{"job", "preis.pellwerk", "--data", "preise.csv", "--job-mm", "5", "-o", "n.bin"}, 2, "--job-mm"},
    };
    for (const Case& c : cases) {
        const TCliResult r = Run(c.Args);
        EXPECT_EQ(r.ExitCode, c.Exit) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Message))) << r.Err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(HomePath("n.png")));
    EXPECT_FALSE(QFile::exists(HomePath("n.bin")));
}

}  // namespace
