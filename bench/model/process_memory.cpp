#include "process_memory.h"

#include <QByteArray>
#include <QFile>

#include <cstring>

long StatusKiB(const char* Key)
{
    QFile F(QStringLiteral("/proc/self/status"));
    if (!F.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& Line : F.readAll().split('\n'))
        if (Line.startsWith(Key))
            return Line.mid(int(std::strlen(Key))).trimmed().split(' ').value(0).toLong();
    return -1;
}
