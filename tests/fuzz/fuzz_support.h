#pragma once
// Shared by the fuzz targets and their corpus replay: the Qt set-up the
// parsers need, and a way to fail loudly when a property does not hold.

#include <QString>

#include <cstddef>
#include <cstdint>

// A QGuiApplication on the offscreen platform, created once: fonts, picture
// plugins and text documents need one. Safe to call on every input.
void FuzzEnsureGuiApp();

// A private folder for targets that must go through a real file; created
// once, removed at exit.
QString FuzzScratchDir();

// Reports a broken property with the two texts involved and aborts, so the
// fuzzer keeps the input and the replay test fails.
[[noreturn]] void FuzzFail(const char* What, const QString& Expected, const QString& Got);
