// The process's resident memory, as the kernel counts it, for the memory benchmarks.
#pragma once

#include <QFile>
#include <cstring>

namespace bench {

// The resident size now ("VmRSS:") or at its highest since the last reset ("VmHWM:"), in bytes.
inline double ResidentBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ').first().toDouble() * 1024;
    }
    return 0;
}

// Makes the highest resident size the present one.
inline bool ResetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

}  // namespace bench
