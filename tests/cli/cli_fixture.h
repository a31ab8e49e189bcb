#pragma once
// Runs the built pellwerk-cli in a home folder of its own (so it finds its
// own settings and templates and nothing of the machine's), and compares
// what it wrote with what the libraries give in this process.

#include "protocol/raster.h"

#include <QDateTime>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Os)
{
    *Os << '"' << S.toStdString() << '"';
}

struct TCliResult {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

class TCliFixture : public ::testing::Test {
protected:
    // Runs the program with Args in the home folder as working folder.
    TCliResult Run(const QStringList& Args, const QByteArray& Input = {});
    // Sets up P (environment, working folder) to run the program; the caller starts it.
    void Prepare(QProcess& P) const;

    QString HomePath(const QString& Name) const;
    QString DataDir() const;      // ".../MIRVO Pellwerk" of the program's home
    QString TemplateFile(const QString& Name) const;
    // Writes the six built-in templates into the program's templates folder.
    void WriteBuiltins() const;
    void WriteSettings(const QString& IniText) const;
    QByteArray ReadFile(const QString& Path) const;

    QTemporaryDir Home;
    // Extra environment of the program (e.g. the bus it takes for the system bus).
    QProcessEnvironment Extra;
};

// A 1-bit PNG written by the program as a raster: black = 1. Fails the test
// (ADD_FAILURE) and returns an empty raster when the file is no 1-bit picture.
TNbMonoImage ReadMonoPng(const QString& Path);

// The raster the editor would send for the label file: copies 1..Copies
// stacked with GapDots blank rows, rendered in this process.
TNbMonoImage ExpectedRaster(const QString& LabelFile, int Copies, int GapDots,
                            const std::optional<QDateTime>& Now = std::nullopt);

// Raster with FeedLines blank rows below: the paper a V5G printer feeds.
TNbMonoImage WithBlankRows(const TNbMonoImage& M, int Rows);

// Same size and the same dots; otherwise says how many dots differ.
::testing::AssertionResult SameRaster(const TNbMonoImage& Actual, const TNbMonoImage& Expected);

int InkDots(const TNbMonoImage& M);
