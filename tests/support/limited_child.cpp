#include "support/limited_child.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace support {

QString InLimitedChild(long fileSizeLimit, const std::function<QString()>& body, bool asOrdinaryUser)
{
    int ends[2];
    if (pipe(ends) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0
            || (asOrdinaryUser && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)))
            _exit(2);
        const QByteArray result = body().toUtf8();
        _exit(write(ends[1], result.constData(), size_t(result.size())) == result.size() ? 0 : 3);
    }
    close(ends[1]);
    QFile pipeEnd;
    const QByteArray result = pipeEnd.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
                                  ? pipeEnd.readAll() : QByteArray();
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child failed (status %1)").arg(status);
    return QString::fromUtf8(result);
}

}  // namespace support
