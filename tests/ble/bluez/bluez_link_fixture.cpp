#include "bluez_link_fixture.h"

TNbPostToMain TEventQueue::Poster()
{
    return [this](std::function<void()> call) {
        std::lock_guard<std::mutex> lock(FMutex);
        FCalls.push_back(std::move(call));
    };
}

void TEventQueue::RunPending()
{
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            if (FCalls.empty())
                return;
            call = std::move(FCalls.front());
            FCalls.pop_front();
        }
        call();
    }
}

void TBluezLinkFixture::SetUp()
{
    TBluezFixture::SetUp();
    Manager->SetListener(nullptr);
    Link = std::make_unique<TNimboBle>(Manager.get(), Events.Poster());
    Link->SetIntervalMs(0);
    Link->SetOnDeviceFound([this](TNimboBle*, TBleDevice* d, int32_t) { Found.push_back(d); });
    Link->SetOnConnected([this](TNimboBle*, bool ok, const std::string& m) { Connects.push_back({ok, m}); });
    Link->SetOnPrintDone([this](TNimboBle*, bool ok, const std::string& m) { Dones.push_back({ok, m}); });
    Link->SetOnProgress([this](TNimboBle*, int32_t sent, int32_t) { LastSent = sent; });
    Link->SetOnLog([this](TNimboBle*, const std::string& m) { LogLines.push_back(m); });
}

void TBluezLinkFixture::TearDown()
{
    Link.reset();
    Events.RunPending();
    TBluezFixture::TearDown();
}

bool TBluezLinkFixture::RunUntil(const std::function<bool()>& cond, int ms)
{
    return Eventually(
        [&] {
            Events.RunPending();
            return cond();
        },
        ms);
}

TBleDevice* TBluezLinkFixture::FindWithLink(const QString& path)
{
    // Other devices BlueZ knows may be reported first.
    const std::string address = path.section(QStringLiteral("/dev_"), 1).replace(QLatin1Char('_'), QLatin1Char(':')).toStdString();
    const size_t before = Found.size();
    Link->StartScan("MX", 60000);
    Fake->Advertise(path, -50);
    TBleDevice* device = nullptr;
    RunUntil([&] {
        for (size_t i = before; i < Found.size() && !device; ++i)
            if (Found[i]->Address() == address)
                device = Found[i];
        return device != nullptr;
    });
    return device;
}

std::pair<bool, std::string> TBluezLinkFixture::ConnectDevice(TBleDevice* device)
{
    const size_t before = Connects.size();
    Link->Connect(device);
    if (!RunUntil([&] { return Connects.size() > before; }, 60000))
        return {false, "kein OnConnected"};
    return Connects.back();
}

bool TBluezLinkFixture::ConnectLink(const QString& path)
{
    TBleDevice* device = FindWithLink(path);
    if (!device)
        return false;
    const auto verdict = ConnectDevice(device);
    EXPECT_TRUE(verdict.first) << verdict.second;
    return verdict.first && Link->IsReady();
}

std::pair<bool, std::string> TBluezLinkFixture::WaitDone()
{
    const size_t before = Dones.size();
    if (!RunUntil([&] { return Dones.size() > before; }, 120000))
        return {false, "kein OnPrintDone"};
    return Dones.back();
}

std::optional<TSimV5GPrint> TBluezLinkFixture::PrintV5GAndReceive(const TSimMxPrinter& Printer,
                                                                   const TNbMonoImage& Mono)
{
    Link->SetPacketSize(180);
    Link->PrintV5G(Mono, TNbV5GParams::MX10());
    const auto done = WaitDone();
    if (!done.first) {
        ADD_FAILURE() << done.second;
        return std::nullopt;
    }
    if (!Eventually([&] { return !Printer.Prints().empty(); })) {
        ADD_FAILURE() << "the printer received no job";
        return std::nullopt;
    }
    return Printer.Prints().front();
}

bool TBluezLinkFixture::Logged(const std::string& part) const
{
    return LogCount(part) > 0;
}

int TBluezLinkFixture::LogCount(const std::string& part) const
{
    int n = 0;
    for (const std::string& l : LogLines)
        if (l.find(part) != std::string::npos)
            ++n;
    return n;
}

TNbMonoImage Stripes(int32_t height)
{
    TNbMonoImage m;
    m.Init(384, height, 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < 384; ++x)
            m.Dots[static_cast<size_t>(y) * 384 + x] = (x == 0 || y == 0 || (2 * x + 5 * y) % 13 < 4) ? 1 : 0;
    return m;
}
