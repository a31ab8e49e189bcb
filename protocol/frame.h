#pragma once
// CRC-8 of frame payloads, the frame layout shared by both printer protocols
// and the hex-text conversions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The 256-entry table of CRC-8 with polynomial 0x07 (no reflection, initial
// value 0, no final XOR).
const uint8_t* NbCrc8Table();

// CRC-8 of Count bytes of Data from Start. Count 0 or less yields 0; a range
// that reaches outside Data raises std::out_of_range.
uint8_t NbCrc8(const std::vector<uint8_t>& Data, int32_t Start, int32_t Count);
uint8_t NbCrc8(const std::vector<uint8_t>& Data);

// Continues a CRC over raw memory; the building block of the forms above and
// of the job builders, which checksum rows already written into their buffer.
uint8_t NbCrc8Update(uint8_t Crc, const uint8_t* AData, std::size_t ACount);

// Largest payload one frame can announce in its 16-bit length field.
constexpr std::size_t NbMaxFramePayload = 65535;

// Raises std::length_error when ASize bytes do not fit one frame.
void NbCheckFramePayload(std::size_t ASize);

// Frame bytes around a payload of n bytes: 6 header bytes, CRC and 0xFF.
constexpr std::size_t NbFrameOverhead = 8;

// Frame: 51 78 (or 22 21 with AltHeader), Cmd, 00, length low, length high,
// payload, CRC-8 of the payload, FF. A payload longer than 65535 bytes does
// not fit the length field and raises std::length_error.
std::vector<uint8_t> NbFrame(bool AltHeader, uint8_t Cmd, const std::vector<uint8_t>& Payload);

// Writes the frame for the APayloadSize bytes already placed at
// AOut + 6 around them: header before, CRC and 0xFF after. AOut must hold
// APayloadSize + 8 bytes. Lets the job builders write rows in place.
void NbFrameInPlace(bool AltHeader, uint8_t Cmd, std::size_t APayloadSize, uint8_t* AOut);

// Two upper-case hex digits per byte, no separators.
std::string NbToHex(const std::vector<uint8_t>& Data);

// Drops spaces, carriage returns and line feeds, then reads hex digit pairs
// (either case). Raises std::invalid_argument for an odd number of digits
// ("NbFromHex: ungerade Länge") or a pair that is not hexadecimal.
std::vector<uint8_t> NbFromHex(const std::string& Text);
