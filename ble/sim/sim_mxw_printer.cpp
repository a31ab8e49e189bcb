#include "ble/sim/sim_mxw_printer.h"

#include "ble/gatt_text.h"
#include "protocol/frame.h"

#include <algorithm>

namespace {
const std::vector<uint8_t> kPause = {0x22, 0x21, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF};
const std::vector<uint8_t> kResume = {0x22, 0x21, 0xAE, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF};
const std::vector<uint8_t> kAccept = {0x22, 0x21, 0xA9, 0x00, 0x01, 0x00, 0x00, 0x00, 0xFF};
const std::vector<uint8_t> kRefuse = {0x22, 0x21, 0xA9, 0x00, 0x01, 0x00, 0x01, 0x07, 0xFF};
constexpr int32_t kWidth = 384;
constexpr size_t kRowBytes = kWidth / 8;

bool Header(const std::vector<uint8_t>& C, uint8_t Cmd)
{
    return C.size() >= 6 && C[0] == 0x22 && C[1] == 0x21 && C[2] == Cmd;
}
} // namespace

TSimMxwPrinter::TSimMxwPrinter(std::string name, std::string address, bool withData)
    : TSimPrinterModel(std::move(name), std::move(address), SimPrinterLayout(withData))
{
}

void TSimMxwPrinter::SetAcceptStart(bool accept)
{
    std::lock_guard lock(FMutex);
    FAccept = accept;
}

void TSimMxwPrinter::SetAnswerStart(bool answer)
{
    std::lock_guard lock(FMutex);
    FAnswer = answer;
}

void TSimMxwPrinter::SetBuffer(int64_t high, int64_t low, int64_t drainPerPump)
{
    std::lock_guard lock(FMutex);
    FHigh = high;
    FLow = low;
    FDrain = drainPerPump;
}

void TSimMxwPrinter::Resume()
{
    {
        std::lock_guard lock(FMutex);
        FPaused = false;
        Notify(kResume);
    }
    Flush();
}

void TSimMxwPrinter::OnPacket(const std::string& charUuid, const std::vector<uint8_t>& value)
{
    // Without AE03 everything arrives on AE01; commands are told apart by their
    // 22 21 header (image rows that happen to start so would be misread).
    const bool onData = NbSameUuid(charUuid, kSimUuidAe03);
    if (!onData && value.size() >= 2 && value[0] == 0x22 && value[1] == 0x21) {
        Command(value);
        return;
    }
    if (!FStarted) {
        FOutside += static_cast<int64_t>(value.size());
        return;
    }
    FImage.insert(FImage.end(), value.begin(), value.end());
    FCurrent.ImageBytes += static_cast<int64_t>(value.size());
    FBuffered += static_cast<int64_t>(value.size());
    if (!FPaused && FBuffered >= FHigh) {
        FPaused = true;
        ++FPauses;
        Notify(kPause);
    }
}

void TSimMxwPrinter::Command(const std::vector<uint8_t>& c)
{
    if (Header(c, 0xA2) && c.size() == 9 && c[4] == 1 && c[5] == 0 && c[7] == NbCrc8({c[6]})) {
        FLastDensity = c[6];
    } else if (Header(c, 0xA9) && c.size() == 12 && c[4] == 4 && c[5] == 0) {
        ++FStarts;
        FCurrent = TSimV5XPrint{};
        FCurrent.Density = FLastDensity;
        FCurrent.Rows = c[6] | (c[7] << 8);
        FCurrent.Mode = c[9];
        FImage.clear();
        FStarted = FAccept;
        if (FAnswer)
            Notify(FAccept ? kAccept : kRefuse);
    } else if (Header(c, 0xAD) && c.size() == 9) {
        if (!FStarted)
            return;
        FStarted = false;
        const int32_t rows = static_cast<int32_t>(FImage.size() / kRowBytes);
        FCurrent.Raster.Width = kWidth;
        FCurrent.Raster.Height = rows;
        FCurrent.Raster.Dots.assign(static_cast<size_t>(kWidth) * rows, 0);
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                FCurrent.Raster.Dots[static_cast<size_t>(y) * kWidth + x] =
                    (FImage[y * kRowBytes + x / 8] >> (x % 8)) & 1;
        // A short last row or data beyond the announced rows is an error of the sender.
        if (FImage.size() % kRowBytes != 0 || rows != FCurrent.Rows)
            ++FErrors;
        FPrints.push_back(std::move(FCurrent));
        FCurrent = TSimV5XPrint{};
        FImage.clear();
    } else {
        ++FErrors;
    }
}

bool TSimMxwPrinter::OnPump()
{
    if (FBuffered == 0)
        return false;
    FBuffered -= std::min(FBuffered, FDrain);
    if (FPaused && FBuffered <= FLow && !FaultsLocked().NeverResume) {
        FPaused = false;
        Notify(kResume);
    }
    return true;
}

std::vector<TSimV5XPrint> TSimMxwPrinter::Prints() const
{
    std::lock_guard lock(FMutex);
    return FPrints;
}

int TSimMxwPrinter::StartCommands() const
{
    std::lock_guard lock(FMutex);
    return FStarts;
}

int64_t TSimMxwPrinter::ImageBytesOutsideJob() const
{
    std::lock_guard lock(FMutex);
    return FOutside;
}

int TSimMxwPrinter::Errors() const
{
    std::lock_guard lock(FMutex);
    return FErrors;
}

int TSimMxwPrinter::Pauses() const
{
    std::lock_guard lock(FMutex);
    return FPauses;
}
