#pragma once
// One private bus with a fake org.bluez (adapter powered on) and a manager
// talking to it, with timeouts short enough that a silent BlueZ costs the
// test well under a second.

#include "ble/bluez/bluez_manager.h"
#include "fake_bluez.h"
#include "private_bus.h"
#include "recording_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

TBluezTimeouts ShortTimeouts();

class TBluezFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Scans, lets the fake advertise the device and returns the manager's
    // object for it (nullptr when it was not reported).
    TBleDevice* Discover(const QString& path, int rssi = -60);
    // Discover + DiscoverServices, waiting for the services.
    TBleDevice* ConnectTo(const QString& path);

    TPrivateBus Bus;
    std::unique_ptr<TFakeBluez> Fake;
    TRecordingListener Listener;
    std::unique_ptr<TBluezManager> Manager;
};

TBleCharacteristic* FindChar(TBleDevice* device, const char* uuid);

// Polls cond in real time up to ms.
bool Eventually(const std::function<bool()>& cond, int ms = 3000);

// Milliseconds fn took.
long long MsTaken(const std::function<void()>& fn);
