#pragma once
// Classifiers for the notifications a printer sends. None keeps state, none
// checks the CRC or the length field of a notification.

#include <cstdint>
#include <vector>

// State codes of NbParseStatus.
constexpr uint8_t NbStateReady = 0;
constexpr uint8_t NbStateNoPaper = 1;
constexpr uint8_t NbStateOverheated = 2;
constexpr uint8_t NbStateBatteryLow = 3;
constexpr uint8_t NbStateFlag80 = 4;    // byte 0x80, shown without a message
constexpr uint8_t NbStateOther = 5;

// Results of NbFlowControl.
constexpr uint8_t NbFlowNone = 0;
constexpr uint8_t NbFlowPause = 1;
constexpr uint8_t NbFlowResume = 2;

// V5G state report (51 78 A3, at least 8 bytes): Code from byte 6. Returns
// false and leaves Code untouched for anything else.
bool NbParseStatus(const std::vector<uint8_t>& Data, uint8_t& Code);

// V5G head temperature (51 78 D3, at least 8 bytes): TempC = byte 6 in
// degrees Celsius. 0xFE and 0xFF mean no reading: false, TempC untouched.
bool NbParseTemperature(const std::vector<uint8_t>& Data, int32_t& TempC);

// V5X start acknowledgement (22 21 A9, at least 8 bytes): Ok when the byte
// before the last is 0x00. Ok is false whenever the result is false.
bool NbParseV5XStartAck(const std::vector<uint8_t>& Data, bool& Ok);

// Whole-message match against the known pause and resume messages:
// NbFlowPause, NbFlowResume or NbFlowNone.
uint8_t NbFlowControl(const std::vector<uint8_t>& Data);
