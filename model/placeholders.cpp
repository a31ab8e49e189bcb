#include "model/placeholders.h"

namespace {

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
    const std::optional<QDateTime>& fixed = FixedClock();
    return fixed ? *fixed : QDateTime::currentDateTime();
}

void SetPlaceholderClock(std::optional<QDateTime> AFixed)
{
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
