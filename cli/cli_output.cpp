#include "cli/cli_output.h"

#include <algorithm>
#include <ostream>

void WriteLine(std::ostream& S, const QString& Text)
{
    S << Text.toStdString() << '\n';
    S.flush();
}

int ProgressPercent(int64_t Sent, int64_t Total)
{
    if (Total <= 0)
        return 0;
    const int64_t pct = std::clamp<int64_t>(Sent, 0, Total) * 100 / Total;
    return static_cast<int>(pct);
}

std::string ProgressBarText(int Pct)
{
    constexpr int kCells = 30;
    const int filled = std::clamp(Pct, 0, 100) * kCells / 100;
    return "Drucke … [" + std::string(static_cast<size_t>(filled), '#') +
           std::string(static_cast<size_t>(kCells - filled), ' ') + "] " + std::to_string(Pct) + " %";
}

void TProgressBar::Update(int64_t Sent, int64_t Total)
{
    const int pct = ProgressPercent(Sent, Total);
    if (pct == FLastPct)
        return;
    FLastPct = pct;
    if (FStreams.ErrIsTerminal) {
        FStreams.Err << '\r' << ProgressBarText(pct);
        FOpenLine = true;
    } else {
        FStreams.Err << ProgressBarText(pct) << '\n';
    }
    FStreams.Err.flush();
}

void TProgressBar::Finish()
{
    if (FOpenLine) {
        FStreams.Err << '\n';
        FStreams.Err.flush();
        FOpenLine = false;
    }
}
