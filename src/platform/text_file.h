#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

#include "platform/status.h"

// Files as the program reads and writes them. Every path is a program path (Windows or host,
// see HostPath); text is 8-bit Windows-1252, in which each of the 256 byte values is one
// character and back, so reading and writing never changes a byte by itself.
namespace platform {

QString DecodeText(QByteArrayView bytes);
QByteArray EncodeText(QStringView text);

// The text with every line end (CR LF, a lone LF, a lone CR) made CR LF.
QString ToCrLf(QStringView text);

// Reads regular files only, and never waits: anything else (a FIFO, a device, a folder) fails
// as "Cannot read <path>: not a regular file".
Status ReadFileBytes(const QString& path, QByteArray& bytes);
Status ReadTextFile(const QString& path, QString& text);

// Replaces the file at path with bytes atomically: the new content is on the disk before it
// takes the old one's place, and a failed write (a full disk too) leaves the old file whole.
// A writable file in a folder that cannot be written is rewritten in place instead, its old
// content first kept in a synced backup in the user's cache folder ("backups/" and the file's
// whole path with '%' for '/'), which goes once the rewrite is on the disk. Without a backup the
// file is not touched; a failed rewrite puts the old content back and names the backup.
Status ReplaceFile(const QString& path, const QByteArray& bytes);

// A character that the code page cannot hold (written as '?') and its line, counted from 1.
struct Unencodable {
    QString character;
    qsizetype line;
};
// The first such character of the text, if any.
std::optional<Unencodable> FirstUnencodable(QStringView text);

// Replaces the file at path with the text, ending in CR LF: one is added only when the text
// does not end in one already, so a text read from a file is written back unchanged.
Status WriteTextFile(const QString& path, QStringView text);

// Appends the text followed by CR LF to the file, creating it when missing; a failed write
// leaves the file as it was.
Status AppendTextLine(const QString& path, QStringView text);

// Copies a file, replacing the destination atomically. Fails, touching nothing, when the
// source is missing or the destination's folder does not exist or cannot be written.
Status CopyFile(const QString& from, const QString& to);
Status DeleteFile(const QString& path);
bool FileExists(const QString& path);
// Changes the process's working directory.
Status ChangeDirectory(const QString& path);

}  // namespace platform
