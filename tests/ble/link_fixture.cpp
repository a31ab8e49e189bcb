#include "link_fixture.h"

#include <algorithm>

TLinkHarness::TLinkHarness()
{
    Clock.SetIdleProbe([this] { return Manager.IsIdle(); });
    Link = std::make_unique<TTestLink>(&Manager, Main.Poster(), &Clock);
    Link->SetOnLog([this](TNimboBle*, const std::string& m) { Logs.push_back(m); });
    Link->SetOnProgress([this](TNimboBle*, int32_t s, int32_t t) { Progress.emplace_back(s, t); });
    Link->SetOnNotify([this](TNimboBle*, const std::vector<uint8_t>& d) { Notifications.push_back(d); });
    Link->SetOnDeviceFound([this](TNimboBle*, TBleDevice* d, int32_t r) { Found.emplace_back(d, r); });
    Link->SetOnConnected([this](TNimboBle*, bool ok, const std::string& m) { Connects.push_back({ok, m}); });
    Link->SetOnPrintDone([this](TNimboBle*, bool ok, const std::string& m) { PrintDones.push_back({ok, m}); });
}

TLinkHarness::~TLinkHarness()
{
    Link.reset();
}

TDoneRecord TLinkHarness::ConnectAndWait(TBleDevice* Device)
{
    const size_t before = Connects.size();
    Link->Connect(Device);
    if (!Main.RunUntil([&] { return Connects.size() > before; }))
        return {false, "kein OnConnected"};
    Settle();
    return Connects.back();
}

TDoneRecord TLinkHarness::WaitPrintDone()
{
    const size_t before = PrintDones.size();
    if (!Main.RunUntil([&] { return PrintDones.size() > before; }))
        return {false, "kein OnPrintDone"};
    Settle();
    return PrintDones.back();
}

void TLinkHarness::Settle()
{
    Manager.WaitIdle();
    Main.RunPending();
}

bool TLinkHarness::HasLog(const std::string& Line) const
{
    return std::find(Logs.begin(), Logs.end(), Line) != Logs.end();
}

TNbMonoImage PatternRaster(int32_t Width, int32_t Height)
{
    TNbMonoImage m;
    m.Init(Width, Height, 0);
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x) {
            const bool border = x == 0 || y == 0 || x == Width - 1 || y == Height - 1;
            m.Dots[static_cast<size_t>(y) * Width + x] = (border || (x + 3 * y) % 11 < 3) ? 1 : 0;
        }
    return m;
}
