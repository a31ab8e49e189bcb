#pragma once
// Reading printed codes back with a real decoder (ZXingReader of Debian's
// zxing-cpp-tools), as a phone or hand scanner would.

#include "protocol/nimbo_protocol.h"

#include <QString>
#include <QStringList>

struct TDecodedCode {
    QString Format;  // the decoder's name of the symbology ("QRCode", "EAN-13" …)
    QString Text;
};

// Every code the decoder finds in the raster (1 = black dot), written as a
// PNG to a temporary folder first. Zoom > 1 enlarges every dot to Zoom x Zoom
// pixels without smoothing, as a scanner's optics would see a one-dot module.
// Fails the running test when the decoder cannot be run.
std::vector<TDecodedCode> DecodeCodes(const TNbMonoImage& Mono, int Zoom = 1);
