#include "help/rtf_builder.h"

QString RtfEscape(const QString& S)
{
    QString out;
    out.reserve(S.size() + 16);
    for (const QChar ch : S) {
        const char16_t u = ch.unicode();
        if (u == u'\n')
            out += QLatin1String("\\line ");
        else if (u == u'\r')
            continue;
        else if (u == u'\\' || u == u'{' || u == u'}') {
            out += QLatin1Char('\\');
            out += ch;
        } else if (u < 0x80)
            out += ch;
        else
            out += QStringLiteral("\\u%1?").arg(static_cast<unsigned>(u));
    }
    return out;
}

TRtf::TRtf()
{
    FSB += QLatin1String("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}}");
    // 1 = body text, 2 = headings, 3 = tips
    FSB += QLatin1String("{\\colortbl;\\red32\\green32\\blue32;\\red0\\green120\\blue215;\\red110\\green110\\blue110;}");
    FSB += QLatin1String("\\viewkind4\\uc1\\f0\\fs20\\cf1 ");
}

void TRtf::H(const QString& S)
{
    FSB += QLatin1String("\\pard\\sb200\\sa80\\cf2\\b\\fs26 ") + RtfEscape(S)
           + QLatin1String("\\b0\\fs20\\cf1\\par ");
}

void TRtf::P(const QString& S)
{
    FSB += QLatin1String("\\pard\\sa120 ") + RtfEscape(S) + QLatin1String("\\par ");
}

void TRtf::B(const QString& S)
{
    FSB += QLatin1String("\\pard\\fi-260\\li420\\tx420\\sa50 \\bullet\\tab ") + RtfEscape(S)
           + QLatin1String("\\par ");
}

void TRtf::K(const QString& Key, const QString& Desc)
{
    FSB += QLatin1String("\\pard\\tx2400\\sa50 \\b ") + RtfEscape(Key) + QLatin1String("\\b0\\tab ")
           + RtfEscape(Desc) + QLatin1String("\\par ");
}

void TRtf::Tip(const QString& S)
{
    FSB += QLatin1String("\\pard\\sb80\\sa120\\li200\\cf3\\i ") + RtfEscape(S)
           + QLatin1String("\\i0\\cf1\\par ");
}

QString TRtf::Text() const
{
    return FSB + QLatin1Char('}');
}
