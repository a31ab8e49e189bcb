// Exit codes and messages: wrong usage (2, with the usage text), files and
// labels that fail (1, with the library's message), and help for every command.

#include "cli_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class CliUsage : public TCliFixture {
protected:
    void SetUp() override { WriteBuiltins(); }
};

TEST_F(CliUsage, WrongUsageExitsTwoWithMessageAndUsage)
{
    struct TCase {
        QStringList Args;
        const char* Message;
        const char* Usage;  // first line of the usage text that follows
    };
    const TCase cases[] = {
        {{}, "Kein Befehl angegeben", "Aufruf: pellwerk-cli BEFEHL"},
        {{"drucken"}, "Unbekannter Befehl \"drucken\"", "Aufruf: pellwerk-cli BEFEHL"},
        {{"render", "Nummerierung", "--farbe", "rot"}, "Unbekannte Option \"--farbe\" für \"render\"",
         "Aufruf: pellwerk-cli render"},
        // An option of another command is unknown here.
        {{"render", "Nummerierung", "--printer", "virtual"}, "Unbekannte Option \"--printer\"",
         "Aufruf: pellwerk-cli render"},
        {{"render"}, "Etikettendatei fehlt", "Aufruf: pellwerk-cli render"},
        {{"render", "a.pellwerk", "b.pellwerk"}, "Zu viele Angaben: \"b.pellwerk\"", "Aufruf: pellwerk-cli render"},
        {{"render", "Nummerierung", "--copies"}, "Option --copies braucht einen Wert", "Aufruf: pellwerk-cli render"},
        {{"render", "Nummerierung", "--copies", "0"}, "--copies erwartet eine ganze Zahl von 1 bis 999, nicht \"0\"",
         "Aufruf: pellwerk-cli render"},
        {{"render", "Nummerierung", "--copies=drei"}, "--copies erwartet eine ganze Zahl", ""},
        {{"render", "Nummerierung", "--copies", "2", "--copies", "3"}, "Option --copies ist mehrfach angegeben", ""},
        {{"render", "Nummerierung", "--screen", "--copies", "2"}, "--copies und --gap-mm passen nicht dazu", ""},
        {{"render", "Nummerierung", "--now", "30.11.2026 10:00"},
         "--now erwartet Datum und Uhrzeit als \"JJJJ-MM-TT HH:MM\", nicht \"30.11.2026 10:00\"", ""},
        {{"render", "Nummerierung", "--now", "2026-02-30 10:00"}, "--now erwartet Datum und Uhrzeit", ""},
        {{"job", "Nummerierung"}, "Ausgabedatei fehlt (-o DATEI)", "Aufruf: pellwerk-cli job"},
        {{"job", "Nummerierung", "-o", "j.bin", "--protocol", "v6"}, "--protocol erwartet v5g oder v5x, nicht \"v6\"",
         ""},
        {{"job", "Nummerierung", "-o", "j.bin", "--energy", "70000"},
         "--energy erwartet eine ganze Zahl von 1000 bis 65535", ""},
        {{"job", "Nummerierung", "-o", "j.bin", "--protocol", "v5x", "--density", "150"},
         "--density erwartet eine ganze Zahl von 0 bis 100", ""},
        {{"print", "Nummerierung"}, "Kein Drucker eingerichtet", "Aufruf: pellwerk-cli print"},
        {{"print", "Nummerierung", "--printer", "virtual:MXW01", "--protocol", "v5g"},
         "Der gewählte Drucker spricht V5X; --protocol v5g passt nicht dazu", ""},
        {{"print", "Nummerierung", "--printer", "AA:BB:CC:DD:EE:FF", "--virtual-out", "v.png"},
         "--virtual-out gilt nur für --printer virtual", ""},
        {{"text", "Hallo", "--printer", "virtual", "--chars-per-line", "200"},
         "200 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)", "Aufruf: pellwerk-cli text"},
        {{"scan", "--seconds", "0"}, "--seconds erwartet eine ganze Zahl von 1 bis 120", "Aufruf: pellwerk-cli scan"},
        {{"templates", "extra"}, "Zu viele Angaben: \"extra\"", "Aufruf: pellwerk-cli templates"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TCliResult r = Run(c.Args);
        EXPECT_EQ(r.ExitCode, 2);
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Message))) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Usage)));
        EXPECT_TRUE(r.Out.isEmpty());
    }
    // Nothing was written by any of them.
    EXPECT_FALSE(QFileInfo::exists(HomePath("j.bin")));
    EXPECT_FALSE(QFileInfo::exists(HomePath("v.png")));
    EXPECT_FALSE(QFileInfo::exists(HomePath("virtueller-druck.png")));
}

TEST_F(CliUsage, HelpForEveryCommand)
{
    for (const QString command : {"render", "job", "scan", "print", "text", "templates"}) {
        SCOPED_TRACE(command.toStdString());
        for (const QStringList& args : {QStringList{command, "--help"}, QStringList{"help", command}}) {
            const TCliResult r = Run(args);
            EXPECT_EQ(r.ExitCode, 0);
            EXPECT_TRUE(r.Out.startsWith("Aufruf: pellwerk-cli " + command)) << r.Out.toStdString();
        }
    }
    const TCliResult overview = Run({"--help"});
    EXPECT_EQ(overview.ExitCode, 0);
    for (const char* command : {"render", "job", "scan", "print", "text", "templates"})
        EXPECT_TRUE(overview.Out.contains(QString("  ") + command + " ")) << command;
}

TEST_F(CliUsage, MissingOrBrokenLabelExitsOneNamingTheFile)
{
    QFile broken(HomePath("kaputt.pellwerk"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("[1, 2, 3]");
    broken.close();
    struct TCase {
        QStringList Args;
        QString Message;
    };
    const QString missing = HomePath("fehlt.pellwerk");
    const TCase cases[] = {
        {{"render", missing, "-o", "x.png"},
         "Etikett \"" + missing + "\" konnte nicht geladen werden: Die Datei \"" + missing + "\" wurde nicht gefunden"},
        {{"job", "kaputt.pellwerk", "-o", "x.bin"},
         "Etikett \"kaputt.pellwerk\" konnte nicht geladen werden: Keine gültige Etikettendatei"},
        // A label that fails stops the print before any printer is searched for.
        {{"print", "kaputt.pellwerk", "--printer", "virtual"}, "Keine gültige Etikettendatei"},
        // A bare name that is no template is a missing file, not a template.
        {{"render", "Gibtsnicht", "-o", "x.png"}, "Die Datei \"Gibtsnicht\" wurde nicht gefunden"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TCliResult r = Run(c.Args);
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_TRUE(r.Err.contains(c.Message)) << r.Err.toStdString();
        EXPECT_FALSE(r.Err.contains("Aufruf:"));
        EXPECT_FALSE(r.Err.contains("Suche Drucker"));
    }
    EXPECT_FALSE(QFileInfo::exists(HomePath("x.png")));
    EXPECT_FALSE(QFileInfo::exists(HomePath("x.bin")));
    EXPECT_FALSE(QFileInfo::exists(HomePath("virtueller-druck.png")));
}

TEST_F(CliUsage, OutputThatCannotBeWrittenExitsOne)
{
    const QString dir = HomePath("nur-lesen");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString target = dir + "/alt.png";
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    // A folder without write permission: the temporary file cannot be created.
    // (Root ignores permissions, so the missing folder stands in as well.)
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    for (const QString& out : {target, HomePath("gibt/es/nicht.png")}) {
        SCOPED_TRACE(out.toStdString());
        const TCliResult r = Run({"render", "Nummerierung", "-o", out});
        if (r.ExitCode == 0 && out == target)
            continue;  // running as root: the folder was writable after all
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_TRUE(r.Err.contains("Die Datei \"" + out + "\" kann nicht geschrieben werden")) << r.Err.toStdString();
        if (out == target)
            EXPECT_EQ(ReadFile(target), "alt");
    }
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(HomePath("gibt")));
}

} // namespace
