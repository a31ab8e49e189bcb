// Batches of any length through a simulated printer: split into jobs that
// each fit the printer and the paper length, sent one after another over one
// connection, cancelled and failing in the middle.

#include "link_fixture.h"
#include "merge/batch_plan.h"
#include "merge/batch_run.h"
#include "merge_fixtures.h"
#include "model/mono_convert.h"
#include "protocol/v5g_job.h"
#include "protocol/v5x_job.h"

#include <functional>

namespace {

constexpr int kGapRows = 32;  // 4 mm

// A link connected to a simulated MXW01, and a batch run wired to it as the
// editor wires one: the link's end of job and progress go to the run.
struct TBatchHarness {
    TLinkHarness H;
    std::shared_ptr<TSimMxwPrinter> Printer = std::make_shared<TSimMxwPrinter>();
    std::shared_ptr<const TDataTable> Table;
    std::unique_ptr<TBatchRun> Run;
    std::vector<int> Percents;
    std::function<void(int32_t, int32_t)> OnProgress;
    std::function<void(size_t)> OnJobStart;
    int Jobs = 0;

    explicit TBatchHarness(int Records)
    {
        EXPECT_TRUE(H.ConnectAndWait(H.Manager.AddPrinter(Printer)).Success);
        H.Link->SetPacketSize(512);
        H.Link->SetIntervalMs(0);
        Table = std::make_shared<const TDataTable>(PriceTable(Records));
        H.Link->SetOnPrintDone([this](TNimboBle*, bool Ok, const std::string& Msg) {
            Run->JobDone(Ok, QString::fromStdString(Msg));
        });
        H.Link->SetOnProgress([this](TNimboBle*, int32_t Sent, int32_t Total) {
            Percents.push_back(Run->Percent(Sent, Total));
            if (OnProgress)
                OnProgress(Sent, Total);
        });
    }

    TBatchPlan Plan(int Copies = 1) const
    {
        std::vector<int> records;
        for (int n = 1; n <= Table->Count(); ++n)
            records.push_back(n);
        return TBatchPlan(records, Copies, PriceTagLabel()->DesignHeight(), kGapRows, BatchJobRows(kDefaultBatchJobMm),
                          kMaxV5XJobRows);
    }

    void Print(const TBatchPlan& Plan)
    {
        Run = std::make_unique<TBatchRun>(PriceTagLabel(), Table, Plan, [this](const TNbMonoImage& Raster, bool) {
            if (OnJobStart)
                OnJobStart(Run->CurrentJob());
            ++Jobs;
            H.Link->PrintV5X(NbV5XBuildJob(Raster, 93, 0));
        });
        Run->Begin();
        ASSERT_TRUE(H.Main.RunUntil([this] { return Run->State() != TBatchState::Running; },
                                    std::chrono::seconds(300)));
        H.Settle();
    }

    // Everything the batch should print, rendered in one go.
    TNbMonoImage Whole(int Copies = 1) const
    {
        const auto doc = PriceTagLabel();
        std::vector<TNbMonoImage> labels;
        for (int n = 1; n <= Table->Count(); ++n) {
            const TMergeRecord r = Table->Record(n);
            for (int c = 1; c <= Copies; ++c)
                labels.push_back(doc->RenderMono(c, &r));
        }
        return StackMonoImages(labels, kGapRows);
    }
};

TNbMonoImage Joined(const std::vector<TSimV5XPrint>& Prints)
{
    std::vector<TNbMonoImage> parts;
    for (const TSimV5XPrint& p : Prints)
        parts.push_back(p.Raster);
    return StackMonoImages(parts, 0);
}

TEST(BatchPrint, FiveHundredRecordsArriveAsSeveralJobsThatJoinToTheWholeBatch)
{
    TBatchHarness b(500);
    const TBatchPlan plan = b.Plan();
    b.Print(plan);
    ASSERT_EQ(b.Run->State(), TBatchState::Done) << b.Run->FailureText().toStdString();

    const std::vector<TSimV5XPrint> prints = b.Printer->Prints();
    // 240 rows a label and 32 between: 29 labels fill 7856 of the 8000 rows of a metre.
    ASSERT_EQ(prints.size(), 18u);
    EXPECT_EQ(b.Jobs, 18);
    EXPECT_EQ(b.H.Connects.size(), 1u);  // one connection for all jobs
    for (size_t j = 0; j < prints.size(); ++j) {
        EXPECT_EQ(prints[j].Rows, prints[j].Raster.Height);
        EXPECT_LE(prints[j].Rows, 8000);
        EXPECT_EQ(prints[j].Rows, plan.Jobs()[j].Rows);
    }
    EXPECT_EQ(prints.front().Rows, 29 * 240 + 28 * 32);
    EXPECT_EQ(prints[1].Rows, 32 + 29 * 240 + 28 * 32);  // the gap leads the next job
    const TNbMonoImage whole = b.Whole();
    ASSERT_EQ(whole.Height, 500 * 240 + 499 * 32);
    const TNbMonoImage joined = Joined(prints);
    EXPECT_EQ(joined.Height, whole.Height);
    EXPECT_TRUE(joined.Dots == whole.Dots) << "the jobs, joined, differ from the whole batch";

    // One progress for the whole batch: rising from 0 to 100.
    ASSERT_FALSE(b.Percents.empty());
    EXPECT_EQ(b.Percents.front(), 0);
    EXPECT_EQ(b.Percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(b.Percents.begin(), b.Percents.end()));
}

TEST(BatchPrint, CopiesOfEveryRecordKeepTheirGapAcrossJobs)
{
    TBatchHarness b(20);
    const TBatchPlan plan = b.Plan(3);
    ASSERT_EQ(plan.Jobs().size(), 3u);  // 60 labels, 29 a job
    EXPECT_EQ(plan.Item(29).Record, 10);
    EXPECT_EQ(plan.Item(29).Copy, 3);
    b.Print(plan);
    ASSERT_EQ(b.Run->State(), TBatchState::Done) << b.Run->FailureText().toStdString();
    EXPECT_TRUE(Joined(b.Printer->Prints()).Dots == b.Whole(3).Dots);
}

TEST(BatchPrint, CancelInTheThirdJobStopsThereAndNamesItsFirstRecord)
{
    TBatchHarness b(100);
    bool cancelled = false;
    b.OnProgress = [&](int32_t Sent, int32_t Total) {
        if (!cancelled && b.Run->CurrentJob() == 2 && Sent > 0 && Sent < Total / 2) {
            cancelled = true;
            b.H.Link->CancelSending();
            b.Run->Cancel();
        }
    };
    b.Print(b.Plan());
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(b.Run->State(), TBatchState::Failed);
    EXPECT_EQ(b.Run->FailureMessage(), QStringLiteral("Abgebrochen"));
    EXPECT_EQ(b.Jobs, 3);
    EXPECT_EQ(b.Printer->Prints().size(), 2u);  // the third never got its end command
    EXPECT_EQ(b.Run->ResumeRecord(), 59);
    EXPECT_EQ(b.Run->FailureText(), QStringLiteral("Druck bei Datensatz 59 abgebrochen"));
    EXPECT_EQ(b.Run->RemainingRecords().size(), 42u);
}

TEST(BatchPrint, AFailureInTheSecondJobNamesTheRecordToGoOnFrom)
{
    TBatchHarness b(100);
    b.OnJobStart = [&](size_t Job) {
        if (Job == 1) {
            TSimFaults f;
            f.RefuseWrites = true;
            b.Printer->SetFaults(f);
        }
    };
    b.Print(b.Plan());
    EXPECT_EQ(b.Run->State(), TBatchState::Failed);
    EXPECT_EQ(b.Jobs, 2);
    EXPECT_EQ(b.Printer->Prints().size(), 1u);
    EXPECT_EQ(b.Run->ResumeRecord(), 30);
    EXPECT_EQ(b.Run->FailureText(),
              QStringLiteral("Druck bei Datensatz 30 fehlgeschlagen: WriteCharacteristic fehlgeschlagen"));
    const std::vector<int> rest = b.Run->RemainingRecords();
    ASSERT_EQ(rest.size(), 71u);
    EXPECT_EQ(rest.front(), 30);
    EXPECT_EQ(rest.back(), 100);
}

TEST(BatchPlan, SplitsIntoWholeLabelsWithinTheLength)
{
    // A label longer than the job length is a job of its own.
    const TBatchPlan longLabels({1, 2, 3}, 1, 900, 10, 800);
    ASSERT_EQ(longLabels.Jobs().size(), 3u);
    EXPECT_EQ(longLabels.Jobs()[1].Rows, 910);
    EXPECT_EQ(longLabels.TotalRows(), 3 * 900 + 2 * 10);
    // No gap: nothing leads a job.
    const TBatchPlan noGap({1, 2, 3, 4, 5}, 1, 100, 0, 250);
    ASSERT_EQ(noGap.Jobs().size(), 3u);
    EXPECT_FALSE(noGap.Jobs()[1].LeadingGap);
    EXPECT_EQ(noGap.Jobs()[2].Count, 1u);
    // Without data: the copies alone.
    const TBatchPlan copies({}, 4, 100, 0, 1000);
    EXPECT_EQ(copies.ItemCount(), 4u);
    EXPECT_EQ(copies.Item(3).Record, 0);
    EXPECT_EQ(copies.Item(3).Copy, 4);
    // What a V5X job cannot announce is refused before anything is printed.
    EXPECT_EQ(MergeErrorOf([] { TBatchPlan({1}, 1, 70000, 0, 80000, kMaxV5XJobRows); }),
              QStringLiteral("Ein Etikett mit Abstand ist mit 70000 Punktzeilen zu lang für einen Druckauftrag "
                             "(höchstens 65535)"));
    EXPECT_EQ(MergeErrorOf([] { TBatchPlan({1}, 0, 100, 0, 100); }), QStringLiteral("Ungültige Druckauftragsgröße"));
}

}  // namespace
