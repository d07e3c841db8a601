#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win_path.h"

namespace platform {
namespace {

// Windows-1252 as a one-to-one map between the 256 byte values and 256 characters, taken from
// the codec. A byte that a codec leaves undefined (some do for 0x81, 0x8D, ...) keeps its
// Latin-1 character, so that no byte is ever lost on the way through a QString.
struct CodePage {
    std::array<char16_t, 256> characterOfByte;
    QHash<char16_t, char> byteOfCharacter;
};

CodePage MakeWindows1252()
{
    CodePage page;
    for (int byte = 0; byte < 256; ++byte) {
        QStringDecoder decoder("windows-1252");
        const char in = char(byte);
        const QString decoded = decoder.decode(QByteArrayView(&in, 1));
        const bool mapped = !decoder.hasError() && decoded.size() == 1
                            && decoded[0] != QChar::ReplacementCharacter;
        page.characterOfByte[byte] = mapped ? decoded[0].unicode() : char16_t(byte);
        page.byteOfCharacter.insert(page.characterOfByte[byte], in);
    }
    return page;
}

const CodePage& Windows1252()
{
    static const CodePage page = MakeWindows1252();
    return page;
}

Status Failure(const char* action, const QString& path, const QString& reason)
{
    return Status::Failed(
        QStringLiteral("Cannot %1 %2: %3").arg(QLatin1String(action), path, reason));
}

// Writes the bytes at the file's position and sees them on the disk, not only in a cache: a
// full disk or a size limit shows up here. Special files that refuse fsync keep nothing to lose.
// The file is unbuffered: a short write is retried, so that a failure comes with its reason.
Status WriteThrough(QFileDevice& file, const QString& path, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return Failure("write", path, file.errorString());
        done += written;
    }
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return Failure("write", path, qt_error_string(errno));
    return Status::Ok();
}

// Puts the bytes into the file that QSaveFile opened and renames it over the old one. The bytes
// are on the disk before the rename, so a failure at any point leaves the old file whole.
Status Commit(QSaveFile& file, const QString& path, const QByteArray& bytes)
{
    // commit() renames whatever reached the disk over the old file, even after a failed write.
    if (Status written = WriteThrough(file, path, bytes); !written) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return Failure("write", path, file.errorString());
    return Status::Ok();
}

// Where the old content of a file rewritten in place is kept until the rewrite is on the disk:
// the user's cache folder, under the file's whole path with '%' for '/', as editors name their
// backups. A backup that an interrupted rewrite left may be the only whole copy of the file's
// content, so it is never written over: the next one takes a number.
QString BackupPath(const QString& host)
{
    const QString first = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                          + QStringLiteral("/backups/") + QFileInfo(host).absoluteFilePath().replace(u'/', u'%');
    QString backup = first;
    for (int number = 1; QFileInfo::exists(backup); ++number)
        backup = first + u'.' + QString::number(number);
    return backup;
}

// The old content, whole on the disk, before a byte of the file is touched.
Status KeepBackup(const QString& backup, const QByteArray& old)
{
    QDir().mkpath(QFileInfo(backup).path());  // a folder that cannot be made fails the open
    QSaveFile file(backup);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure("write", backup, file.errorString());
    return Commit(file, backup, old);
}

// New bytes over old ones, in the same blocks: a failed write puts the old bytes back.
Status Rewrite(QFile& file, const QString& path, const QByteArray& bytes, const QByteArray& old)
{
    Status written = file.seek(0) ? WriteThrough(file, path, bytes)
                                  : Failure("write", path, file.errorString());
    // The cut is on the disk too before the rewrite counts as done.
    if (written && !file.resize(bytes.size()))
        written = Failure("write", path, file.errorString());
    if (written && ::fsync(file.handle()) != 0)
        written = Failure("write", path, qt_error_string(errno));
    if (!written) {
        file.unsetError();
        if (file.seek(0) && WriteThrough(file, path, old))
            (void)file.resize(old.size());
    }
    return written;
}

// For a file whose folder does not let a replacement be created beside it. Its old content is
// first kept in a backup, so that whenever the rewrite stops, by a failure or a kill, either the
// file or the backup holds it whole. The backup goes once the new content is on the disk.
Status OverwriteInPlace(const QString& host, const QString& path, const QByteArray& bytes)
{
    QFile file(host);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Failure("write", path, file.errorString());
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure("write", path, file.errorString());
    const QString backup = BackupPath(host);
    if (Status kept = KeepBackup(backup, old); !kept) {
        return Failure("write", path,
                       QStringLiteral("its old content could not be kept in a copy first (%1)")
                           .arg(kept.message()));
    }
    if (Status written = Rewrite(file, path, bytes, old); !written) {
        return Status::Failed(
            written.message() + QStringLiteral("; its old content is kept in %1").arg(backup));
    }
    QFile::remove(backup);
    return Status::Ok();
}

}  // namespace

QString DecodeText(QByteArrayView bytes)
{
    const CodePage& page = Windows1252();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(page.characterOfByte[quint8(byte)]);
    return text;
}

QByteArray EncodeText(QStringView text)
{
    const CodePage& page = Windows1252();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        // A surrogate pair is one character, and none of them is in the code page.
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(unit < 0x80 ? char(unit) : page.byteOfCharacter.value(unit, '?'));
    }
    return bytes;
}

QString ToCrLf(QStringView text)
{
    QString result;
    result.reserve(text.size() + text.size() / 32);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        result.append(text.sliced(lineStart, i - lineStart)).append(u"\r\n");
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    result.append(text.sliced(lineStart));
    return result;
}

Status ReadFileBytes(const QString& path, QByteArray& bytes)
{
    const QString host = HostPath(path);
    if (host.contains(QChar::Null))
        return Failure("read", path, QStringLiteral("Invalid file name"));
    // Without O_NONBLOCK, opening a FIFO waits for a writer for as long as it takes.
    const int descriptor =
        ::open(QFile::encodeName(host).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return Failure("read", path, qt_error_string(errno));
    // Only a regular file ends: a FIFO may never do, and a device such as /dev/zero never does.
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return Failure("read", path, QStringLiteral("not a regular file"));
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return Failure("read", path, file.errorString());
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure("read", path, file.errorString());
    return Status::Ok();
}

Status ReadTextFile(const QString& path, QString& text)
{
    QByteArray bytes;
    Status read = ReadFileBytes(path, bytes);
    if (read)
        text = DecodeText(bytes);
    return read;
}

Status ReplaceFile(const QString& path, const QByteArray& bytes)
{
    const QString host = HostPath(path);
    // QSaveFile would cut the name short at a NUL and replace the file named by what is left.
    if (host.contains(QChar::Null))
        return Failure("write", path, QStringLiteral("Invalid file name"));
    QSaveFile file(host);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo existing(host);
        if (existing.isFile() && existing.isWritable())
            return OverwriteInPlace(host, path, bytes);
        return Failure("write", path, file.errorString());
    }
    return Commit(file, path, bytes);
}

std::optional<Unencodable> FirstUnencodable(QStringView text)
{
    const CodePage& page = Windows1252();
    qsizetype line = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u'\n' || (unit == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++line;
        if (unit < 0x80 || page.byteOfCharacter.contains(unit))
            continue;
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size()
                          && text[i + 1].isLowSurrogate();
        return Unencodable{text.sliced(i, pair ? 2 : 1).toString(), line};
    }
    return std::nullopt;
}

Status WriteTextFile(const QString& path, QStringView text)
{
    QByteArray bytes = EncodeText(text);
    if (!bytes.endsWith("\r\n"))
        bytes += "\r\n";
    return ReplaceFile(path, bytes);
}

Status AppendTextLine(const QString& path, QStringView text)
{
    QFile file(HostPath(path));
    const QByteArray line = EncodeText(text) + "\r\n";
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return Failure("write", path, file.errorString());
    const qint64 oldSize = file.size();
    const Status written = WriteThrough(file, path, line);
    if (!written)
        (void)file.resize(oldSize);  // no half line is left behind
    return written;
}

Status CopyFile(const QString& from, const QString& to)
{
    QByteArray bytes;
    if (Status read = ReadFileBytes(from, bytes); !read)
        return read;
    return ReplaceFile(to, bytes);
}

Status DeleteFile(const QString& path)
{
    QFile file(HostPath(path));
    if (!file.remove())
        return Failure("delete", path, file.errorString());
    return Status::Ok();
}

bool FileExists(const QString& path)
{
    return QFileInfo(HostPath(path)).isFile();
}

Status ChangeDirectory(const QString& path)
{
    const QString host = HostPath(path);
    // QFileInfo also turns away a name with a NUL in it, which chdir would silently cut short.
    if (!QFileInfo(host).isDir())
        return Failure("change to folder", path, QStringLiteral("No such folder"));
    if (::chdir(QFile::encodeName(host).constData()) != 0)
        return Failure("change to folder", path, qt_error_string(errno));
    return Status::Ok();
}

}  // namespace platform
