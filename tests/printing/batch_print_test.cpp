// A data merge printed from the editor's data panel: every record as its own
// label, in jobs one after another, through a simulated MXW01.
#include "print_fixture.h"

#include "editor/data_panel.h"
#include "merge/data_table.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"
#include "settings/app_settings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kMxwAddr = "C0:FF:EE:00:00:01";

void WriteText(const QString& Path, const QByteArray& Bytes)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(Bytes), Bytes.size());
}

// A window connected to a simulated MXW01 whose settings cut batches into
// jobs of 60 mm, so every 30 mm label is a job of its own; a price label
// with fields and its data file beside it is open.
struct TMergeWindow {
    TPrintFixture F;
    std::shared_ptr<TSimMxwPrinter> Printer;
    QString LabelFile;
    QString DataFile;

    explicit TMergeWindow(const QByteArray& Csv)
    {
        Printer = F.AddPrinter<TSimMxwPrinter>("MXW01", kMxwAddr);
        TPrintFixture::PrepareSettings([](TAppSettings& s) {
            s.PrinterName = QStringLiteral("MXW01");
            s.PrinterAddress = QString::fromLatin1(kMxwAddr);
            s.Protocol = 1;
            s.IntervalMs = 0;
        });
        QFile ini(TAppSettings::IniFileName());
        EXPECT_TRUE(ini.open(QIODevice::ReadWrite));
        QByteArray text = ini.readAll();
        const qsizetype at = text.indexOf("[Druck]");
        EXPECT_GE(at, 0);
        text.insert(text.indexOf('\n', at) + 1, "AuftragMm=60\n");
        ini.resize(0);
        ini.write(text);
        ini.close();

        const QDir dir(TAppSettings::TemplateDir());
        LabelFile = dir.filePath(QStringLiteral("Preis.pellwerk"));
        DataFile = dir.filePath(QStringLiteral("preise.csv"));
        WriteText(DataFile, Csv);
        TLabelDoc doc;
        doc.Name = QStringLiteral("Preis");
        AddTextElement(doc, 18, 18, 348, 60, QStringLiteral("{Artikel}"), 30, false, laCenter);
        AddTextElement(doc, 18, 90, 348, 110, QStringLiteral("{Preis} €"), 70, true, laCenter);
        doc.SaveToFile(LabelFile);
        doc.SetDataFilePath(DataFile);
        doc.SaveToFile(LabelFile);

        F.Create();
        EXPECT_TRUE(F.WaitConnected());
        F.Ble.WaitIdle();
        QTest::qWait(20);
        F.Form->OpenTemplate(LabelFile);
        F.Status3.clear();
    }

    TDataPanel& Panel() { return *F.Form->DataPanel(); }

    TNbMonoImage Expected(const std::vector<int>& Records) const
    {
        const TDataTable table = LoadDataTable(DataFile);
        std::vector<TNbMonoImage> labels;
        for (const int n : Records) {
            const TMergeRecord r = table.Record(n);
            labels.push_back(F.Form->Doc().RenderMono(1, &r));
        }
        return StackMonoImages(labels, 32);
    }

    TNbMonoImage Printed() const
    {
        std::vector<TNbMonoImage> parts;
        for (const TSimV5XPrint& p : Printer->Prints())
            parts.push_back(p.Raster);
        return StackMonoImages(parts, 0);
    }
};

const QByteArray kThree = "Artikel;Preis\r\nÄpfel;2,49\r\nBirnen;1,99\r\nKäse;12,90\r\n";

TEST(EditorBatch, ThePanelShowsEachRecordOnTheCanvas)
{
    TMergeWindow w(kThree);
    TDataPanel& p = w.Panel();
    EXPECT_EQ(p.RecordLabel()->text(), QStringLiteral("Datensatz 1 von 3"));
    EXPECT_FALSE(p.PrevButton()->isEnabled());
    const QImage first = w.F.Form->Doc().RenderBitmap(false, 1, p.CurrentRecord());
    QTest::mouseClick(p.NextButton(), Qt::LeftButton);
    EXPECT_EQ(p.RecordLabel()->text(), QStringLiteral("Datensatz 2 von 3"));
    EXPECT_EQ(w.F.Status(3), QStringLiteral("Datensatz 2 von 3"));
    ASSERT_NE(p.CurrentRecord(), nullptr);
    EXPECT_EQ(p.CurrentRecord()->Value(QStringLiteral("Artikel")), QStringLiteral("Birnen"));
    EXPECT_FALSE(w.F.Form->Doc().RenderBitmap(false, 1, p.CurrentRecord()) == first);
    EXPECT_TRUE(p.InfoLabel()->text().startsWith(QStringLiteral("preise.csv – 3 Datensätze, 2 Spalten")))
        << p.InfoLabel()->text().toStdString();
}

TEST(EditorBatch, PrintSendsEveryChosenRecordAsItsOwnJob)
{
    TMergeWindow w(kThree);
    QTest::mouseClick(w.Panel().PrintButton(), Qt::LeftButton);
    ASSERT_TRUE(w.F.WaitJobDone());
    EXPECT_EQ(w.Printer->Prints().size(), 3u);
    EXPECT_TRUE(w.Printed().Dots == w.Expected({1, 2, 3}).Dots);
    EXPECT_EQ(w.F.Status(3), QStringLiteral("Fertig gedruckt."));
    // One progress for the batch: the second record's job runs from 33 %.
    EXPECT_FALSE(w.F.Status3.filter(QStringLiteral("Datensatz 2 von 3 – Drucke … 3")).isEmpty())
        << w.F.Status3.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(w.Panel().PrintButton()->text(), QStringLiteral("Drucken"));

    // A range prints only what it names, in its order.
    w.Panel().SetRange(QStringLiteral("3, 1"));
    QTest::mouseClick(w.Panel().PrintButton(), Qt::LeftButton);
    ASSERT_TRUE(w.F.WaitJobDone());
    ASSERT_EQ(w.Printer->Prints().size(), 5u);
    EXPECT_TRUE(w.Printer->Prints()[3].Raster.Dots == w.Expected({3}).Dots);
}

TEST(EditorBatch, AnUnknownFieldRefusesToPrint)
{
    TMergeWindow w("Artikel;Gewicht\r\nÄpfel;1 kg\r\n");
    EXPECT_TRUE(w.Panel().InfoLabel()->text().contains(
        QStringLiteral("Unbekanntes Feld {Preis} – die Datei hat die Spalten: Artikel, Gewicht")));
    QTest::mouseClick(w.Panel().PrintButton(), Qt::LeftButton);
    EXPECT_FALSE(w.F.Form->IsPrinting());
    EXPECT_EQ(w.F.Dialogs.Shown.back(),
              QStringLiteral("error: Unbekanntes Feld {Preis} – die Datei hat die Spalten: Artikel, Gewicht"));
    // The toolbar's print of the shown record refuses the same way.
    w.F.Form->PrintLabel();
    EXPECT_FALSE(w.F.Form->IsPrinting());
    EXPECT_EQ(w.Printer->StartCommands(), 0);
}

TEST(EditorBatch, AFailureInTheSecondJobNamesTheRecordAndOffersToGoOn)
{
    TMergeWindow w(kThree);
    TSimFaults f;
    f.DropAfterBytes = 15000;  // within the second job (one job is 11550 bytes)
    w.Printer->SetFaults(f);
    w.F.Dialogs.YesNo.push_back(false);
    QTest::mouseClick(w.Panel().PrintButton(), Qt::LeftButton);
    ASSERT_TRUE(w.F.WaitJobDone());
    EXPECT_EQ(w.Printer->Prints().size(), 1u);
    EXPECT_TRUE(w.F.Status(3).startsWith(QStringLiteral("Druck bei Datensatz 2 fehlgeschlagen: ")))
        << w.F.Status(3).toStdString();
    ASSERT_FALSE(w.F.Dialogs.Shown.isEmpty());
    EXPECT_TRUE(w.F.Dialogs.Shown.back().endsWith(QStringLiteral("\r\n\r\nAb Datensatz 2 fortsetzen?")))
        << w.F.Dialogs.Shown.back().toStdString();
    EXPECT_TRUE(w.Panel().RangeOption()->isChecked());
    EXPECT_EQ(w.Panel().RangeEdit()->text(), QStringLiteral("2-3"));
}

TEST(EditorBatch, AVanishedDataFileIsNamedAndTheLabelStaysEditable)
{
    TMergeWindow w(kThree);
    ASSERT_TRUE(QFile::remove(w.DataFile));
    w.F.Form->OpenTemplate(w.LabelFile);
    TDataPanel& p = w.Panel();
    EXPECT_EQ(p.InfoLabel()->text(), QStringLiteral("Die Datendatei \"%1\" wurde nicht gefunden").arg(w.DataFile));
    EXPECT_EQ(p.CurrentRecord(), nullptr);
    EXPECT_EQ(p.RecordLabel()->text(), QStringLiteral("kein Datensatz"));
    EXPECT_EQ(w.F.Form->Doc().Elements.Count(), 2);
    w.F.Form->InsertRect();
    EXPECT_EQ(w.F.Form->Doc().Elements.Count(), 3);

    // Back again and changed: one click reads it.
    WriteText(w.DataFile, "Artikel;Preis\r\nTee;4,50\r\n");
    QTest::mouseClick(p.ReloadButton(), Qt::LeftButton);
    EXPECT_EQ(p.RecordLabel()->text(), QStringLiteral("Datensatz 1 von 1"));
    EXPECT_EQ(p.CurrentRecord()->Value(QStringLiteral("Artikel")), QStringLiteral("Tee"));
}

TEST(EditorBatch, ChoosingADataFileIsAnEditThatUndoTakesBack)
{
    TMergeWindow w(kThree);
    const QString other = QDir(TAppSettings::TemplateDir()).filePath(QStringLiteral("andere.csv"));
    WriteText(other, "Artikel;Preis\r\nTee;4,50\r\nKaffee;6,90\r\n");
    w.F.Dialogs.Files.push_back(other);
    QTest::mouseClick(w.Panel().ChooseButton(), Qt::LeftButton);
    EXPECT_EQ(w.F.Form->Doc().DataFile, QStringLiteral("andere.csv"));
    EXPECT_TRUE(w.F.Form->Doc().Modified);
    EXPECT_EQ(w.Panel().RecordLabel()->text(), QStringLiteral("Datensatz 1 von 2"));
    w.F.Form->Undo();
    EXPECT_EQ(w.F.Form->Doc().DataFile, QStringLiteral("preise.csv"));
    EXPECT_EQ(w.Panel().RecordLabel()->text(), QStringLiteral("Datensatz 1 von 3"));
}

}  // namespace

namespace {

TEST(EditorBatch, CopiesTooLongForOneV5XJobGoOutAsSeveralJobs)
{
    TMergeWindow w(kThree);
    w.F.Form->NewLabel();
    ASSERT_TRUE(w.F.Form->Doc().DataFile.isEmpty());
    w.F.Form->Doc().LengthMm = 1000;
    AddTextElement(w.F.Form->Doc(), 10, 10, 300, 100, QStringLiteral("Nr. {NR}"), 60, true, laCenter);
    w.F.Form->CopiesBox()->setValue(9);  // 9 * 8000 + 8 * 32 = 72256 rows
    w.F.Form->PrintLabel();
    ASSERT_TRUE(w.F.WaitJobDone());
    const std::vector<TSimV5XPrint> prints = w.Printer->Prints();
    ASSERT_EQ(prints.size(), 9u);
    std::vector<TNbMonoImage> copies;
    for (int n = 1; n <= 9; ++n)
        copies.push_back(w.F.Form->Doc().RenderMono(n));
    EXPECT_TRUE(w.Printed().Dots == StackMonoImages(copies, 32).Dots);
    for (const TSimV5XPrint& p : prints)
        EXPECT_EQ(p.Rows, p.Raster.Height);
    EXPECT_EQ(w.F.Status(3), QStringLiteral("Fertig gedruckt."));
}

}  // namespace
