#pragma once

#include <QStringList>

class Decoder;
class QJsonObject;
class QTextStream;

// The command-line decoder: parses the arguments, decodes each recording
// through one Decoder and prints the outcome. Exit status 0 when every file
// decoded, 1 when one did not, 2 for a usage error.
class DecodeCommand
{
public:
    enum ExitStatus { Decoded = 0, NotDecoded = 1, UsageError = 2 };

    DecodeCommand(QTextStream &out, QTextStream &err);

    // arguments[0] is the program name, as in QCoreApplication::arguments().
    int run(const QStringList &arguments);

private:
    struct Options
    {
        bool json = false;
        bool dumpBytes = false;
        QStringList files;
    };

    int parse(const QStringList &arguments, Options &options);
    bool decodeOne(Decoder &decoder, const QString &path, const Options &options, QJsonObject &entry);
    void dumpBytes(const Decoder &decoder);

    QTextStream &m_out;
    QTextStream &m_err;
};
