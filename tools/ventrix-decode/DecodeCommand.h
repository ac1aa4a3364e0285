#pragma once

#include "AppController.h"
#include "DataOutput.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;
struct FileOutcome;

// The command-line decoder: parses the arguments, decodes each recording
// through one decoder and one object context, and hands each outcome to the
// pieces the options ask for (JSON report, byte dump, store file, folder
// export); with --record it first records the one recording it decodes.
// A session the store holds already is not stored again and is reported on
// standard error as "already stored"; the file still decoded.
// Exit status 0 when every file decoded, 1 when one did not or a
// database or export file could not be read or written, 2 for a usage error.
class DecodeCommand
{
public:
    enum ExitStatus { Decoded = 0, NotDecoded = 1, UsageError = 2 };

    DecodeCommand(QTextStream &out, QTextStream &err);

    // arguments[0] is the program name, as in QCoreApplication::arguments().
    int run(const QStringList &arguments);

    // --record records through recorders of this factory (PortAudio's default input when unset).
    void setRecorderFactory(AppController::RecorderFactory factory) { m_recorderFactory = std::move(factory); }

private:
    struct Options
    {
        bool json = false;
        bool dumpBytes = false;
        std::optional<QString> storePath;
        std::optional<QString> exportDir;
        bool xml = false;
        bool tcx = false;
        bool tenths = false;
        bool fixedDate = false;
        std::optional<double> recordSeconds;
        bool autoStop = true;
        QStringList files;

        DataOutput::ExportFormat exportFormat() const
        {
            if (tcx)
                return DataOutput::ExportFormat::Tcx;
            return xml ? DataOutput::ExportFormat::PropertyList : DataOutput::ExportFormat::CommaSeparated;
        }
    };

    int parse(const QStringList &arguments, Options &options);
    int parseRecord(const QString &value, Options &options);
    int decodeAll(const Options &options);
    void printSummary(const FileOutcome &outcome);
    void printErrors(const QStringList &messages);
    // "1 session", "2 sessions".
    static QString sessionCount(int count);

    QTextStream &m_out;
    QTextStream &m_err;
    AppController::RecorderFactory m_recorderFactory;
};
