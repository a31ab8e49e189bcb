#include "fake_bluez.h"

#include "fake_bluez_object.h"

#include <QThread>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <type_traits>

// --- the test's side -------------------------------------------------------

namespace {
class TFakeThread : public QThread {
public:
    TFakeThread(QString address, TFakeBluezObject*& object) : FAddress(std::move(address)), FObject(object) {}
    void WaitReady()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FCv.wait(lock, [this] { return FReady; });
        if (!FError.empty())
            throw std::runtime_error(FError);
    }

protected:
    void run() override
    {
        std::unique_ptr<TFakeBluezObject> object;
        try {
            object = std::make_unique<TFakeBluezObject>(FAddress);
        } catch (const std::exception& e) {
            std::lock_guard<std::mutex> lock(FMutex);
            FError = e.what();
            FReady = true;
            FCv.notify_all();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FObject = object.get();
            FReady = true;
            FCv.notify_all();
        }
        exec();
        object->DetachModels();
        object.reset();
        std::lock_guard<std::mutex> lock(FMutex);
        FFinished = true;
        FCv.notify_all();
    }

public:
    // Ends the event loop through the fake's own inbox and waits until the
    // fake object is gone.
    void Stop()
    {
        FObject->Inbox().Push([] { QThread::currentThread()->quit(); });
        std::unique_lock<std::mutex> lock(FMutex);
        FCv.wait(lock, [this] { return FFinished; });
    }

private:
    QString FAddress;
    TFakeBluezObject*& FObject;
    std::mutex FMutex;
    std::condition_variable FCv;
    bool FReady = false;
    bool FFinished = false;
    std::string FError;
};

// Runs fn on the fake's thread and waits for it.
template <typename Fn>
auto OnFake(TFakeBluezObject* object, Fn fn)
{
    using R = decltype(fn());
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    auto finish = [&] {
        std::lock_guard<std::mutex> lock(m);
        done = true;
        cv.notify_all();
    };
    auto waitDone = [&] {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return done; });
    };
    if constexpr (std::is_void_v<R>) {
        object->Inbox().Push([&] {
            fn();
            finish();
        });
        waitDone();
    } else {
        R result{};
        object->Inbox().Push([&] {
            result = fn();
            finish();
        });
        waitDone();
        return result;
    }
}
} // namespace

TFakeBluez::TFakeBluez(const QString& busAddress)
{
    auto thread = std::make_unique<TFakeThread>(busAddress, FObject);
    thread->start();
    thread->WaitReady();
    FThread = std::move(thread);
}

TFakeBluez::~TFakeBluez()
{
    static_cast<TFakeThread*>(FThread.get())->Stop();
    FThread->wait();
}

void TFakeBluez::AddAdapter(bool powered)
{
    OnFake(FObject, [=, this] { FObject->AddAdapter(powered); });
}

QString TFakeBluez::AddPrinter(std::shared_ptr<TSimPrinterModel> model)
{
    return OnFake(FObject, [&] { return FObject->AddPrinter(model, false, std::nullopt); });
}

QString TFakeBluez::AddKnownPrinter(std::shared_ptr<TSimPrinterModel> model, std::optional<int> rssi)
{
    return OnFake(FObject, [&] { return FObject->AddPrinter(model, true, rssi); });
}

QString TFakeBluez::AddConnectedPrinter(std::shared_ptr<TSimPrinterModel> model)
{
    return OnFake(FObject, [&] { return FObject->AddPrinter(model, true, std::nullopt, true); });
}

void TFakeBluez::Expire(const QString& devicePath)
{
    OnFake(FObject, [&] { FObject->Expire(devicePath); });
}

void TFakeBluez::SetError(const QString& member, const QString& errorName)
{
    OnFake(FObject, [&] {
        FObject->Answers[member] = TFakeAnswer::Error;
        FObject->ErrorNames[member] = errorName;
    });
}

void TFakeBluez::SetBehaviour(const TFakeBehaviour& behaviour)
{
    OnFake(FObject, [&] { FObject->Behaviour = behaviour; });
}

bool TFakeBluez::Powered() const
{
    return OnFake(FObject, [&] { return FObject->IsPowered(); });
}

void TFakeBluez::Advertise(const QString& devicePath, int rssi)
{
    OnFake(FObject, [&] { FObject->Advertise(devicePath, rssi); });
}

void TFakeBluez::Rename(const QString& devicePath, const QString& name)
{
    OnFake(FObject, [&] { FObject->Rename(devicePath, name); });
}

void TFakeBluez::DropConnection(const QString& devicePath)
{
    OnFake(FObject, [&] { FObject->DropConnection(devicePath); });
}

void TFakeBluez::SetAnswer(const QString& member, TFakeAnswer answer)
{
    OnFake(FObject, [&] { FObject->Answers[member] = answer; });
}

bool TFakeBluez::Discovering() const
{
    return OnFake(FObject, [&] { return FObject->Discovering; });
}

QVariantMap TFakeBluez::DiscoveryFilter() const
{
    return OnFake(FObject, [&] { return FObject->Filter; });
}

QStringList TFakeBluez::Calls() const
{
    return OnFake(FObject, [&] { return FObject->Calls; });
}

int TFakeBluez::CallCount(const QString& member) const
{
    int n = 0;
    for (const QString& c : Calls())
        if (c.section(QLatin1Char(' '), 0, 0) == member)
            ++n;
    return n;
}

QStringList TFakeBluez::WriteTypes() const
{
    return OnFake(FObject, [&] { return FObject->WriteTypes; });
}

