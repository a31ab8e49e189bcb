// 200 print jobs in a row against simulated printers that pause and resume
// at random, stall, drop the connection, refuse writes or the start, while
// the user cancels or disconnects now and then. Every job must end with
// exactly one done event whose message fits what happened, nothing may
// hang, and the link must print normally afterwards.

#include "link_fixture.h"

#include "ble/link_messages.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

namespace {

enum class TScenario { Plain, Flow, Stall, Drop, RefuseWrites, RefuseStart, NoStartAnswer, Cancel, Disconnect };

const char* NameOf(TScenario S)
{
    switch (S) {
    case TScenario::Plain: return "plain";
    case TScenario::Flow: return "flow";
    case TScenario::Stall: return "stall";
    case TScenario::Drop: return "drop";
    case TScenario::RefuseWrites: return "refuse-writes";
    case TScenario::RefuseStart: return "refuse-start";
    case TScenario::NoStartAnswer: return "no-start-answer";
    case TScenario::Cancel: return "cancel";
    case TScenario::Disconnect: return "disconnect";
    }
    return "?";
}

// The messages a job may end with, by what was done to it. "OK" is among
// them wherever the job can be through before the fault strikes. A cancel
// that waits for a printer which never resumes may come after the
// flow-control timeout (the simulated clock jumps there at once).
std::set<std::string> Allowed(TScenario S, bool Stalled)
{
    switch (S) {
    case TScenario::Plain:
    case TScenario::Flow: return {"OK"};
    case TScenario::Stall: return {"OK", kMsgFlowTimeout};
    case TScenario::Drop: return {"OK", kMsgWriteFailed, kMsgLinkGone};
    case TScenario::RefuseWrites: return {kMsgWriteFailed};
    case TScenario::RefuseStart: return {kMsgStartRefused};
    case TScenario::NoStartAnswer: return {kMsgNoStartAck};
    case TScenario::Cancel:
        if (Stalled)
            return {"OK", kMsgCancelled, kMsgFlowTimeout};
        return {"OK", kMsgCancelled};
    case TScenario::Disconnect: return {"OK", kMsgLinkGone, kMsgWriteFailed};
    }
    return {};
}

struct TPrinter {
    std::shared_ptr<TSimPrinterModel> Model;
    TSimMxPrinter* Mx = nullptr;    // V5G printer, or
    TSimMxwPrinter* Mxw = nullptr;  // V5X printer
    TBleDevice* Device = nullptr;
};

TEST(LinkSoak, TwoHundredJobsEachEndOnceWithAFittingMessage)
{
    const unsigned Seed = 20261210;
    std::mt19937 Rng(Seed);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };

    TLinkHarness H;
    std::vector<TPrinter> Printers;
    for (const bool V5X : {false, true}) {
        TPrinter P;
        if (V5X) {
            auto M = std::make_shared<TSimMxwPrinter>();
            P.Mxw = M.get();
            P.Model = M;
        } else {
            auto M = std::make_shared<TSimMxPrinter>();
            P.Mx = M.get();
            P.Model = M;
        }
        P.Device = H.Manager.AddPrinter(P.Model);
        Printers.push_back(P);
    }

    size_t Current = 0;
    std::map<std::string, int> Outcomes;
    for (int Job = 0; Job < 200; ++Job) {
        SCOPED_TRACE("job " + std::to_string(Job) + ", seed " + std::to_string(Seed));
        // Now and then the other printer; always a fresh connection after a fault.
        if (Pick(0, 24) == 0 && H.Link->IsReady()) {
            H.Link->Disconnect();
            Current = 1 - Current;
        }
        TPrinter& P = Printers[Current];
        P.Model->SetFaults({});
        if (P.Mx) {
            P.Mx->SetBuffer(4096, 1024, 1024);
            P.Mx->Resume();
        } else {
            P.Mxw->SetBuffer(4096, 1024, 1024);
            P.Mxw->Resume();
            P.Mxw->SetAcceptStart(true);
            P.Mxw->SetAnswerStart(true);
        }
        if (!H.Link->IsReady()) {
            const TDoneRecord C = H.ConnectAndWait(P.Device);
            ASSERT_TRUE(C.Success) << C.Msg;
        }

        std::vector<TScenario> Choices = {TScenario::Plain, TScenario::Flow,   TScenario::Stall,
                                          TScenario::Drop,  TScenario::Cancel, TScenario::Disconnect,
                                          TScenario::RefuseWrites};
        if (P.Mxw) {
            Choices.push_back(TScenario::RefuseStart);
            Choices.push_back(TScenario::NoStartAnswer);
        }
        const TScenario S = Choices[size_t(Pick(0, int(Choices.size()) - 1))];
        SCOPED_TRACE(std::string("scenario ") + NameOf(S) + (P.Mxw ? ", V5X" : ", V5G"));

        TSimFaults Faults;
        const int High = Pick(200, 3000);
        const int Low = Pick(0, High - 1);
        const int Drain = Pick(50, 1500);
        switch (S) {
        case TScenario::Flow:
            P.Mx ? P.Mx->SetBuffer(High, Low, Drain) : P.Mxw->SetBuffer(High, Low, Drain);
            break;
        case TScenario::Stall:
        case TScenario::Cancel:
            P.Mx ? P.Mx->SetBuffer(High, Low, Drain) : P.Mxw->SetBuffer(High, Low, Drain);
            Faults.NeverResume = Pick(0, 1) == 1;
            break;
        case TScenario::Drop: Faults.DropAfterBytes = P.Model->BytesWritten() + Pick(1, 4000); break;
        case TScenario::RefuseWrites: Faults.RefuseWrites = true; break;
        case TScenario::RefuseStart: P.Mxw->SetAcceptStart(false); break;
        case TScenario::NoStartAnswer: P.Mxw->SetAnswerStart(false); break;
        default: break;
        }
        P.Model->SetFaults(Faults);
        H.Link->SetPacketSize(Pick(20, 512));
        H.Link->SetIntervalMs(Pick(0, 3));
        // A V5G job that stalls is cancelled while it waits: the clock stands
        // still meanwhile, so no timeout can come first (a V5X job sleeps on
        // the clock between its commands and cannot be held this way).
        const bool HoldClock = S == TScenario::Cancel && Faults.NeverResume && P.Mx;
        if (HoldClock) {
            H.Clock.SetAutoAdvance(false);
            H.Link->SetIntervalMs(0);
        }

        const TNbMonoImage Raster = PatternRaster(384, Pick(1, 160));
        const size_t Before = H.PrintDones.size();
        if (P.Mxw)
            H.Link->PrintV5X(NbV5XBuildJob(Raster, Pick(0, 100), 0));
        else if (Pick(0, 3) == 0)
            H.Link->PrintV5GRaw(NbV5GBuildJob(Raster, TNbV5GParams::Default()));
        else
            H.Link->PrintV5G(Raster, TNbV5GParams::Default());

        if (HoldClock) {
            H.Main.RunUntil([&] { return P.Mx->Paused() || H.PrintDones.size() > Before; },
                            std::chrono::seconds(10));
            H.Link->CancelSending();
        } else if (S == TScenario::Cancel || S == TScenario::Disconnect) {
            // Somewhere in the job: after a few progress reports, or at once.
            const size_t Reports = H.Progress.size() + size_t(Pick(0, 3));
            H.Main.RunUntil([&] { return H.Progress.size() >= Reports || H.PrintDones.size() > Before; },
                            std::chrono::seconds(10));
            if (S == TScenario::Cancel)
                H.Link->CancelSending();
            else
                H.Link->Disconnect();
        }
        if (S == TScenario::Stall && Faults.NeverResume && Pick(0, 1) == 1)
            P.Mx ? P.Mx->Resume() : P.Mxw->Resume();

        ASSERT_TRUE(H.Main.RunUntil([&] { return H.PrintDones.size() > Before; }, std::chrono::seconds(30)))
            << "no done event: the job hangs";
        H.Clock.SetAutoAdvance(true);
        H.Settle();
        ASSERT_EQ(H.PrintDones.size(), Before + 1) << "more than one done event";
        const TDoneRecord& Done = H.PrintDones.back();
        EXPECT_EQ(Done.Success, Done.Msg == "OK") << Done.Msg;
        EXPECT_TRUE(Allowed(S, Faults.NeverResume && !HoldClock).count(Done.Msg)) << "unexpected end: " << Done.Msg;
        ++Outcomes[Done.Msg];

        // A printer left dropped or refusing is reconnected for the next job.
        if (S == TScenario::Drop || S == TScenario::RefuseWrites || !P.Model->IsConnected())
            H.Link->Disconnect();
    }

    std::string Summary;
    for (const auto& [Msg, Count] : Outcomes)
        Summary += std::to_string(Count) + " x " + Msg + "\n";
    std::fprintf(stderr, "%s", Summary.c_str());
    // The faults really happened, not only the easy way through.
    EXPECT_GT(Outcomes["OK"], 20);
    EXPECT_GT(Outcomes[kMsgWriteFailed], 0);
    EXPECT_GT(Outcomes[kMsgCancelled], 0);
    EXPECT_GT(Outcomes[kMsgFlowTimeout], 0);

    // Afterwards the link prints as on the first day. A printer of its own:
    // the soaked ones still hold the torn frames of cut-off jobs.
    auto Fresh = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:99");
    TBleDevice* FreshDevice = H.Manager.AddPrinter(Fresh);
    if (H.Link->IsReady())
        H.Link->Disconnect();
    ASSERT_TRUE(H.ConnectAndWait(FreshDevice).Success);
    const TNbMonoImage Final = PatternRaster(384, 64);
    H.Link->PrintV5G(Final, TNbV5GParams::Default());
    const TDoneRecord Last = H.WaitPrintDone();
    EXPECT_TRUE(Last.Success) << Last.Msg;
    ASSERT_EQ(Fresh->Prints().size(), 1u);
    EXPECT_EQ(Fresh->Prints()[0].Raster.Dots, Final.Dots);
    EXPECT_EQ(Fresh->FrameErrors(), 0);
}

}  // namespace
