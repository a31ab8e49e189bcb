#pragma once
// Events of the printer link. Each is a callable bound to its receiver;
// Sender is always the link that raises it. They run on the main thread.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TNimboBle;
class TBleDevice;

using TNbDeviceFoundEvent = std::function<void(TNimboBle* Sender, TBleDevice* Device, int32_t Rssi)>;
using TNbDoneEvent = std::function<void(TNimboBle* Sender, bool Success, const std::string& Msg)>;
using TNbBytesEvent = std::function<void(TNimboBle* Sender, const std::vector<uint8_t>& Data)>;
using TNbLogEvent = std::function<void(TNimboBle* Sender, const std::string& Msg)>;
using TNbProgressEvent = std::function<void(TNimboBle* Sender, int32_t Sent, int32_t Total)>;

// Runs a closure on the main thread, later, in the order of the calls made by
// one thread (Qt: a queued invocation on the main thread's event loop).
using TNbPostToMain = std::function<void(std::function<void()>)>;
