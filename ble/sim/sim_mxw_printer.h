#pragma once
// Simulated MXW01 speaking V5X: density (0xA2) and start (0xA9) on AE01, the
// start acknowledgement on AE02, raw packed rows on the data characteristic
// (AE03), and the end command (0xAD) on AE01, after which the received rows
// become one printed raster.

#include "ble/sim/sim_printer_model.h"
#include "protocol/nimbo_protocol.h"

#include <cstdint>
#include <string>
#include <vector>

struct TSimV5XPrint {
    TNbMonoImage Raster{}; // 384 dots wide
    int Density = -1;      // percent of the last density command, -1 when none came
    int Rows = 0;          // rows announced by the start command
    int Mode = 0;          // mode byte of the start command
    int64_t ImageBytes = 0; // image bytes received for the job
};

class TSimMxwPrinter : public TSimPrinterModel {
public:
    explicit TSimMxwPrinter(std::string name = "MXW01", std::string address = "C0:FF:EE:00:00:01",
                            bool withData = true);

    // Verdict of the start acknowledgement: true accepts, false refuses.
    void SetAcceptStart(bool accept);
    // When false, the start command gets no answer at all.
    void SetAnswerStart(bool answer);
    // Flow control as for TSimMxPrinter: bytes buffered before pause, after which resume.
    void SetBuffer(int64_t high, int64_t low, int64_t drainPerPump);
    void Resume();

    std::vector<TSimV5XPrint> Prints() const; // jobs closed by the end command
    int StartCommands() const;
    int64_t ImageBytesOutsideJob() const;     // data that came with no accepted start
    int Errors() const;                       // commands it could not read
    int Pauses() const;

protected:
    void OnPacket(const std::string& charUuid, const std::vector<uint8_t>& value) override;
    bool OnPump() override;

private:
    void Command(const std::vector<uint8_t>& cmd);

    bool FAccept = true;
    bool FAnswer = true;
    bool FStarted = false;
    TSimV5XPrint FCurrent;
    std::vector<uint8_t> FImage;
    std::vector<TSimV5XPrint> FPrints;
    int FStarts = 0;
    int64_t FOutside = 0;
    int FErrors = 0;
    int FLastDensity = -1;
    int64_t FHigh = 4096;
    int64_t FLow = 1024;
    int64_t FDrain = 1024;
    int64_t FBuffered = 0;
    bool FPaused = false;
    int FPauses = 0;
};
