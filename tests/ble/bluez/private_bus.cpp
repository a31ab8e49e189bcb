#include "private_bus.h"

#include <QFile>

#include <stdexcept>

namespace {
// Session-like and wide open: the test's own processes are the only clients.
const char* const kConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
} // namespace

TPrivateBus::TPrivateBus()
{
    if (!FDir.isValid())
        throw std::runtime_error("no temporary folder for the private bus");
    const QString configPath = FDir.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly)
        || config.write(QString::fromLatin1(kConfig).arg(FDir.path()).toUtf8()) < 0)
        throw std::runtime_error("cannot write the private bus configuration");
    config.close();

    FDaemon.setProgram(QStringLiteral("dbus-daemon"));
    FDaemon.setArguments({QStringLiteral("--config-file=") + configPath, QStringLiteral("--nofork"),
                          QStringLiteral("--print-address")});
    FDaemon.setProcessChannelMode(QProcess::SeparateChannels);
    FDaemon.start();
    if (!FDaemon.waitForStarted(5000))
        throw std::runtime_error("dbus-daemon did not start");
    while (!FDaemon.canReadLine()) {
        if (!FDaemon.waitForReadyRead(5000))
            throw std::runtime_error("dbus-daemon printed no address");
    }
    FAddress = QString::fromUtf8(FDaemon.readLine()).trimmed();
    if (FAddress.isEmpty())
        throw std::runtime_error("dbus-daemon printed an empty address");
}

TPrivateBus::~TPrivateBus()
{
    if (FDaemon.state() != QProcess::NotRunning) {
        FDaemon.terminate();
        if (!FDaemon.waitForFinished(3000)) {
            FDaemon.kill();
            FDaemon.waitForFinished(3000);
        }
    }
}
