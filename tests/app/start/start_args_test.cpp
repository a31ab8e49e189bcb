// The editor's command line: one file, made absolute for a running editor
// in another folder; everything else is a German usage error.
#include "app/start_args.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(StartArgs, OneFileBecomesAnAbsolutePath)
{
    struct TCase {
        QStringList Args;
        QString File;
    };
    const QString here = QDir::currentPath();
    const TCase cases[] = {
        {{}, QString()},
        {{"Etikett.pellwerk"}, here + "/Etikett.pellwerk"},
        {{"/tmp/a b/Preis.pellwerk"}, "/tmp/a b/Preis.pellwerk"},
        {{"file:///tmp/a%20b/%C3%84pfel.pellwerk"}, QString::fromUtf8("/tmp/a b/Äpfel.pellwerk")},
        // After "--" a name may begin with a dash; a lone "-" is a name too.
        {{"--", "-x.pellwerk"}, here + "/-x.pellwerk"},
        {{"-"}, here + "/-"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TStartArgs a = ParseStartArgs(c.Args);
        EXPECT_TRUE(a.Error.isEmpty()) << a.Error.toStdString();
        EXPECT_EQ(a.File, c.File);
        EXPECT_FALSE(a.Help || a.Version);
    }
}

TEST(StartArgs, HelpVersionAndWrongCommandLines)
{
    EXPECT_TRUE(ParseStartArgs({"--help"}).Help);
    EXPECT_TRUE(ParseStartArgs({"-h"}).Help);
    EXPECT_TRUE(ParseStartArgs({"--version"}).Version);
    EXPECT_TRUE(StartUsage().startsWith("Aufruf: pellwerk [DATEI.pellwerk]"));

    struct TCase {
        QStringList Args;
        QString Error;
    };
    const TCase cases[] = {
        {{"--drucken"}, "Unbekannte Option \"--drucken\""},
        {{"a.pellwerk", "b.pellwerk"}, "Pellwerk öffnet ein Etikett auf einmal, nicht 2"},
        {{"file://rechner/a.pellwerk"}, "\"file://rechner/a.pellwerk\" ist keine lokale Datei"},
        {{""}, "Leerer Dateiname"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TStartArgs a = ParseStartArgs(c.Args);
        EXPECT_EQ(a.Error, c.Error);
        EXPECT_TRUE(a.File.isEmpty());
    }
}

} // namespace
