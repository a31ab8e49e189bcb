#include "model/placeholders.h"

#include <mutex>

namespace {

// Thumbnails are drawn on worker threads while a test may fix the clock on
// the main thread.
std::mutex& ClockMutex()
{
    static std::mutex m;
    return m;
}

std::optional<QDateTime>& FixedClock()
{
    static std::optional<QDateTime> fixed;
    return fixed;
}

// Digits are formatted by hand so that no locale can bring other digits or
// separators into a printed label.
QString TwoDigits(int V)
{
    return QString::number(V).rightJustified(2, QLatin1Char('0'));
}

QString FourDigitYear(const QDate& D)
{
    return QString::number(D.year()).rightJustified(4, QLatin1Char('0'));
}

}  // namespace

QDateTime PlaceholderNow()
{
    const std::lock_guard lock(ClockMutex());
    const std::optional<QDateTime>& fixed = FixedClock();
    return fixed ? *fixed : QDateTime::currentDateTime();
}

void SetPlaceholderClock(std::optional<QDateTime> AFixed)
{
    const std::lock_guard lock(ClockMutex());
    FixedClock() = std::move(AFixed);
}

QString ExpandPlaceholders(const QString& Text, int CopyNo)
{
    QString s = Text;
    // Skipping the clock when a placeholder is absent keeps plain texts cheap;
    // the result is the same.
    if (s.contains(QLatin1String("{DATUM}"), Qt::CaseInsensitive)) {
        const QDate d = PlaceholderNow().date();
        s.replace(QLatin1String("{DATUM}"),
                  TwoDigits(d.day()) + QLatin1Char('.') + TwoDigits(d.month()) + QLatin1Char('.') +
                      FourDigitYear(d),
                  Qt::CaseInsensitive);
    }
    if (s.contains(QLatin1String("{ZEIT}"), Qt::CaseInsensitive)) {
        const QTime t = PlaceholderNow().time();
        s.replace(QLatin1String("{ZEIT}"), TwoDigits(t.hour()) + QLatin1Char(':') + TwoDigits(t.minute()),
                  Qt::CaseInsensitive);
    }
    if (s.contains(QLatin1String("{JAHR}"), Qt::CaseInsensitive)) {
        s.replace(QLatin1String("{JAHR}"), FourDigitYear(PlaceholderNow().date()), Qt::CaseInsensitive);
    }
    s.replace(QLatin1String("{NR}"), QString::number(CopyNo), Qt::CaseInsensitive);
    return s;
}

char ClockPlaceholderUse(const QString& Text)
{
    if (Text.contains(QLatin1String("{ZEIT}"), Qt::CaseInsensitive))
        return 'T';
    if (Text.contains(QLatin1String("{DATUM}"), Qt::CaseInsensitive)
        || Text.contains(QLatin1String("{JAHR}"), Qt::CaseInsensitive))
        return 'D';
    return 0;
}
