#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringView>

// File names as the system has them (bytes) and as the program handles them
// (QString), without loss. Qt decodes a name that is not valid UTF-8 (a
// Latin-1 "ä") to U+FFFD and so can never find the file again; here each such
// byte b becomes the lone surrogate U+DC00 + b and turns back into b, the way
// Python's "surrogateescape" does. Any other name is decoded as Qt decodes it.
// Every system call on a name the user gave goes through encode(). Any thread.
namespace FileName {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView name);
// The absolute, clean form of name, worked out on the text alone: Qt's own
// (QFileInfo::absoluteFilePath) passes a relative name through the lossy
// decoding. The current folder counts as given by the system.
QString absolute(const QString &name);
// The folder of an absolute, clean name ("/" for "/x") and the name in it.
QString folderOf(const QString &absoluteName);
QString nameIn(const QString &absoluteName);

// Opens name for reading into file, which then owns the descriptor; false
// with errno set when the system refuses.
bool openForReading(QFile &file, QStringView name, QIODevice::OpenMode extraMode = {});

} // namespace FileName
