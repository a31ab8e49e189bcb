#pragma once
// Where a command writes: results on standard output, messages, progress and
// warnings on standard error, both UTF-8. Tests hand in string streams.

#include <QString>

#include <iosfwd>
#include <string>

struct TCliStreams {
    std::ostream& Out;
    std::ostream& Err;
    // A terminal redraws the progress bar in place; a file or pipe gets one
    // line per step.
    bool ErrIsTerminal = false;
};

void WriteLine(std::ostream& S, const QString& Text);

// A text progress bar: "[#####     ] 50 %". Redrawn only when the percent changes.
class TProgressBar {
public:
    explicit TProgressBar(TCliStreams& AStreams) : FStreams(AStreams) {}
    void Update(int64_t Sent, int64_t Total);
    // Ends the bar's line, if one was drawn in place.
    void Finish();

private:
    TCliStreams& FStreams;
    int FLastPct = -1;
    bool FOpenLine = false;
};

// Percent Sent of Total with integer division; 0 for a total of 0 or less.
int ProgressPercent(int64_t Sent, int64_t Total);
std::string ProgressBarText(int Pct);
