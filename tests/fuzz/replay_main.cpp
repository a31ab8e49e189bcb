// Replays a fuzz target's corpus as an ordinary test: every file below the
// folders (or the files) named on the command line is fed to the target once.
// An input that once broke a parser thus stays a regression test in the
// normal sanitizer build, without clang or libFuzzer.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList Files;
    for (int i = 1; i < argc; ++i) {
        const QString Arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(Arg).isDir()) {
            QDirIterator It(Arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (It.hasNext())
                Files << It.next();
        } else {
            Files << Arg;
        }
    }
    Files.sort();
    if (Files.isEmpty()) {
        std::fprintf(stderr, "replay: no corpus files given\n");
        return 2;
    }
    for (const QString& Name : Files) {
        QFile F(Name);
        if (!F.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "replay: cannot read %s\n", qPrintable(Name));
            return 2;
        }
        const QByteArray Bytes = F.readAll();
        // Named first, so a failing run says which input it was.
        std::fprintf(stderr, "%s\n", qPrintable(Name));
        // Crashes and broken properties abort inside the target.
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.constData()), size_t(Bytes.size()));
    }
    std::printf("replayed %lld inputs\n", static_cast<long long>(Files.size()));
    return 0;
}
