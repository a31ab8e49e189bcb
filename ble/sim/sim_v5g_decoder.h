#pragma once
// Turns a V5G byte stream, cut into packets anywhere, back into what the
// printer would do: print settings, dot rows and paper feed. Frames with a
// bad header, CRC or end byte are counted and skipped.

#include "protocol/nimbo_protocol.h"

#include <cstdint>
#include <vector>

struct TSimV5GPrint {
    TNbMonoImage Raster{};   // the dot rows, Width = 8 × row payload bytes
    int Energy = -1;         // last 0xAF value, -1 when none came
    int Quality = -1;        // ASCII digit of 0xA4 as number (1..5), -1 when none came
    int Speed = -1;          // last 0xBD value
    int DrawMode = -1;       // 0xBE value
    int Density = -1;        // 0xF2 value
    int FeedLines = 0;       // sum of 0xA1 values
    int SpeedFrames = 0;     // number of 0xBD frames
};

class TSimV5GDecoder {
public:
    // One frame as it came, for the printer's own reactions.
    struct TFrame {
        uint8_t Cmd = 0;
        std::vector<uint8_t> Payload;
    };

    // Feeds bytes; returns the complete, valid frames they finished.
    std::vector<TFrame> Feed(const std::vector<uint8_t>& bytes);

    // Applies a frame to the job being received. Returns true when it ended
    // the job (image end), which then moves to Prints().
    bool Apply(const TFrame& frame);

    const std::vector<TSimV5GPrint>& Prints() const { return FPrints; }
    const TSimV5GPrint& Current() const { return FCurrent; }
    int FrameErrors() const { return FErrors; }

private:
    std::vector<uint8_t> FBuf;
    size_t FPos = 0;
    TSimV5GPrint FCurrent;
    std::vector<TSimV5GPrint> FPrints;
    int FErrors = 0;
};
