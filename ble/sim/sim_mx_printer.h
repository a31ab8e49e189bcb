#pragma once
// Simulated MX-series printer speaking V5G. Everything written to AE01 or
// AE03 is one byte stream of V5G frames; the printer decodes it back into
// the printed raster and paper feed, answers each state request (0xA3) with
// its state and head temperature, and paces the sender with the pause and
// resume messages as its print buffer fills and drains.

#include "ble/sim/sim_printer_model.h"
#include "ble/sim/sim_v5g_decoder.h"

#include <cstdint>
#include <string>
#include <vector>

class TSimMxPrinter : public TSimPrinterModel {
public:
    // withData: the device also offers AE03 (the link uses it for names MXW…/C17).
    explicit TSimMxPrinter(std::string name = "MX10", std::string address = "C0:FF:EE:00:00:10",
                           bool withData = false);
    TSimMxPrinter(std::string name, std::string address, std::vector<TSimServiceSpec> services);

    // State byte reported in answer to 0xA3 (0 = ready, 0x01 no paper, 0x04 hot, 0x08 battery).
    void SetState(uint8_t state);
    // Head temperature in °C sent after every state report and on subscription; -1 sends none.
    void SetHeadTemperature(int tempC);
    // Flow control: pause at high buffered bytes, resume once drained to low;
    // each Pump prints drainPerPump bytes.
    void SetBuffer(int64_t high, int64_t low, int64_t drainPerPump);
    // Sends the resume message now (ends a pause that NeverResume keeps).
    void Resume();

    std::vector<TSimV5GPrint> Prints() const; // completed jobs (image end seen)
    TSimV5GPrint Current() const;             // job being received
    int FrameErrors() const;
    int Pauses() const;
    int Resumes() const;
    // Packets that arrived after a pause was sent and before the resume:
    // how far the sender overran the printer's flow control.
    int PacketsWhilePaused() const;
    bool Paused() const;
    int StateRequests() const;

protected:
    void OnConnect() override;
    void OnSubscribed(const std::string& charUuid) override;
    void OnPacket(const std::string& charUuid, const std::vector<uint8_t>& value) override;
    bool OnPump() override;

private:
    void ReportState();
    void SendResume();

    TSimV5GDecoder FDecoder;
    uint8_t FState = 0;
    int FTempC = 35;
    int64_t FHigh = 4096;
    int64_t FLow = 1024;
    int64_t FDrain = 1024;
    int64_t FBuffered = 0;
    bool FPaused = false;
    int FPauses = 0;
    int FResumes = 0;
    int FPacketsWhilePaused = 0;
    int FStateRequests = 0;
};
