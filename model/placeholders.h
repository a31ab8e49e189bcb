#pragma once
// Text placeholders of label texts: "{DATUM}", "{ZEIT}", "{JAHR}" and "{NR}",
// filled in whenever a label is drawn.

#include <QDateTime>
#include <QString>

#include <optional>

// Replaces, in this order and ignoring case, every "{DATUM}" by the date as
// dd.mm.yyyy, "{ZEIT}" by the time as hh:nn (24 hours), "{JAHR}" by the
// four-digit year and "{NR}" by CopyNo in decimal. Each replacement reads the
// clock anew.
QString ExpandPlaceholders(const QString& Text, int CopyNo);

// The local date and time the placeholders use: the fixed moment set by
// SetPlaceholderClock, else the current local time.
QDateTime PlaceholderNow();

// Whether Text holds a placeholder that reads the clock: 'T' for "{ZEIT}"
// (the minute counts), 'D' for "{DATUM}" or "{JAHR}" (the day counts), else 0.
char ClockPlaceholderUse(const QString& Text);

// Fixes the clock of the placeholders (tests and batch printing need
// reproducible dates); std::nullopt returns to the real clock. Safe to call
// while thumbnails are drawn on other threads.
void SetPlaceholderClock(std::optional<QDateTime> AFixed);
