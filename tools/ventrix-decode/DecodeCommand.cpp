#include "DecodeCommand.h"

#include "ByteDump.h"
#include "FolderExport.h"
#include "JsonReport.h"
#include "RecordOption.h"
#include "StoreOption.h"
#include "TransferDecoding.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cmath>

namespace {

constexpr int kParsed = -1;
const QString kProgram = QStringLiteral("ventrix-decode");

// Options that only shape the files of --export-dir.
const QStringList kExportFormatOptions = {QStringLiteral("xml"), QStringLiteral("tcx"), QStringLiteral("tenths"),
                                          QStringLiteral("fixed-date")};

} // namespace

DecodeCommand::DecodeCommand(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

int DecodeCommand::parse(const QStringList &arguments, Options &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Decodes WAV recordings of F6, RS200 and CS200 watch transfers."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Prints the outcome of every file as one JSON document."));
    const QCommandLineOption dump(QStringLiteral("dump-bytes"),
                                  QStringLiteral("Prints the demodulated bytes before clean-up, 16 per line."));
    const QCommandLineOption store(QStringLiteral("store"), QStringLiteral("Session database to add to."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption exportDir(QStringLiteral("export-dir"),
                                       QStringLiteral("Folder for exported sessions."), QStringLiteral("DIR"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Prints the version."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(json);
    parser.addOption(dump);
    parser.addOption(store);
    parser.addOption(exportDir);
    parser.addOption({QStringLiteral("xml"), QStringLiteral("Exports property lists instead of CSV.")});
    parser.addOption({QStringLiteral("tcx"), QStringLiteral("Exports Training Center (TCX) files instead of CSV.")});
    parser.addOption({QStringLiteral("tenths"), QStringLiteral("Exports times with tenths.")});
    parser.addOption({QStringLiteral("fixed-date"), QStringLiteral("Exports dates in a fixed format.")});
    parser.addOption({QStringLiteral("record"),
                      QStringLiteral("Records from the default audio input into the Recordings folder until "
                                     "the transfer has ended, SECONDS at most (or Ctrl-C), then decodes it."),
                      QStringLiteral("SECONDS")});
    parser.addOption({QStringLiteral("no-auto-stop"), QStringLiteral("With --record: records the full SECONDS.")});
    parser.addPositionalArgument(QStringLiteral("FILE.wav"), QStringLiteral("Recordings to decode."),
                                 QStringLiteral("FILE.wav..."));

    if (!parser.parse(arguments)) {
        m_err << kProgram << ": " << parser.errorText() << "\n" << parser.helpText();
        return UsageError;
    }
    if (parser.isSet(help)) {
        m_out << parser.helpText();
        return Decoded;
    }
    if (parser.isSet(version)) {
        m_out << kProgram << " " << VENTRIX_VERSION << "\n";
        return Decoded;
    }
    for (const QString &name : kExportFormatOptions) {
        if (parser.isSet(name) && !parser.isSet(exportDir)) {
            m_err << kProgram << ": --" << name << " needs --export-dir\n";
            return UsageError;
        }
    }
    options.json = parser.isSet(json);
    options.dumpBytes = parser.isSet(dump);
    if (parser.isSet(store) && parser.value(store).isEmpty()) {
        m_err << kProgram << ": --store needs a file name\n";
        return UsageError;
    }
    if (parser.isSet(store))
        options.storePath = parser.value(store);
    if (parser.isSet(exportDir))
        options.exportDir = parser.value(exportDir);
    options.xml = parser.isSet(QStringLiteral("xml"));
    options.tcx = parser.isSet(QStringLiteral("tcx"));
    if (options.xml && options.tcx) {
        m_err << kProgram << ": --xml and --tcx exclude each other\n";
        return UsageError;
    }
    options.tenths = parser.isSet(QStringLiteral("tenths"));
    options.fixedDate = parser.isSet(QStringLiteral("fixed-date"));
    options.files = parser.positionalArguments();
    options.autoStop = !parser.isSet(QStringLiteral("no-auto-stop"));
    if (parser.isSet(QStringLiteral("record")))
        return parseRecord(parser.value(QStringLiteral("record")), options);
    if (options.files.isEmpty()) {
        m_err << kProgram << ": no recording given\n" << parser.helpText();
        return UsageError;
    }
    return kParsed;
}

// --record SECONDS decodes what it records, and nothing else.
int DecodeCommand::parseRecord(const QString &value, Options &options)
{
    bool isNumber = false;
    const double seconds = value.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(seconds) || seconds <= 0.0 || seconds > RecordOption::kMaximumSeconds) {
        m_err << kProgram << ": --record needs a number of seconds above 0 and up to "
              << RecordOption::kMaximumSeconds << ", not \"" << value << "\"\n";
        return UsageError;
    }
    if (!options.files.isEmpty()) {
        m_err << kProgram << ": --record decodes its own recording and takes no FILE.wav\n";
        return UsageError;
    }
    options.recordSeconds = seconds;
    return kParsed;
}

int DecodeCommand::run(const QStringList &arguments)
{
    Options options;
    int status = parse(arguments, options);
    if (status == kParsed)
        status = decodeAll(options);
    m_out.flush();
    m_err.flush();
    return status;
}

int DecodeCommand::decodeAll(const Options &options)
{
    TransferDecoding decoding;
    std::optional<StoreOption> store;
    if (options.storePath) {
        store.emplace(*options.storePath, &m_err);
        if (const SaveResult opened = store->open(decoding.context()); !opened.ok) {
            printErrors({opened.errorMessage});
            return NotDecoded;
        }
    }
    // The database is opened before recording: one that cannot be read ends
    // the command before the user has played a transfer for nothing.
    QStringList files = options.files;
    if (options.recordSeconds) {
        RecordOption recording(*options.recordSeconds, m_err, options.autoStop);
        recording.setRecorderFactory(m_recorderFactory);
        const RecordOption::Result recorded = recording.record();
        if (!recorded.error.isEmpty()) {
            printErrors({recorded.error});
            return NotDecoded;
        }
        files = {recorded.path};
    }
    std::optional<FolderExport> folderExport;
    if (options.exportDir)
        folderExport.emplace(*options.exportDir, options.exportFormat(), options.tenths, options.fixedDate);

    JsonReport report;
    bool allDecoded = true;
    bool allWritten = true;
    QString lastSaveError; // a database that cannot be written says so once
    for (const QString &path : files) {
        TransferDecoding::BytesHook dumpHook;
        if (options.dumpBytes) {
            dumpHook = [&](const Decoder &decoder) {
                if (files.size() > 1)
                    m_out << path << ":\n";
                dumpBytes(m_out, decoder.byteArray());
            };
        }
        const FileOutcome outcome = decoding.decode(path, dumpHook);
        if (!outcome.readError.isEmpty())
            m_err << kProgram << ": cannot read " << path << ": " << outcome.readError << "\n";
        report.add(outcome);
        if (!options.json && !options.dumpBytes)
            printSummary(outcome);
        if (outcome.alreadyStored > 0)
            m_err << kProgram << ": " << path << ": " << sessionCount(outcome.alreadyStored) << " already stored\n";
        if (!outcome.saveError.isEmpty() && outcome.saveError != lastSaveError) {
            printErrors({outcome.saveError});
            lastSaveError = outcome.saveError;
            allWritten = false;
        }
        if (folderExport) {
            const QStringList failures = folderExport->exportSessions(outcome);
            printErrors(failures);
            allWritten = allWritten && failures.isEmpty();
        }
        allDecoded = allDecoded && outcome.decoded;
    }
    if (store) {
        if (const SaveResult saved = store->saveAtEnd(decoding.context()); !saved.ok) {
            if (saved.errorMessage != lastSaveError)
                printErrors({saved.errorMessage});
            allWritten = false;
        }
    }
    if (options.json)
        report.write(m_out);
    return allDecoded && allWritten ? Decoded : NotDecoded;
}

void DecodeCommand::printSummary(const FileOutcome &outcome)
{
    m_out << outcome.path << ": ";
    if (!outcome.model)
        m_out << "no transfer recognised\n";
    else
        m_out << watchModelName(*outcome.model)
              << (outcome.decoded ? " transfer decoded" : " transfer with an invalid field") << ", "
              << outcome.sessions.size() << (outcome.sessions.size() == 1 ? " new session\n" : " new sessions\n");
}

QString DecodeCommand::sessionCount(int count)
{
    return count == 1 ? QStringLiteral("1 session") : QStringLiteral("%1 sessions").arg(count);
}

void DecodeCommand::printErrors(const QStringList &messages)
{
    for (const QString &message : messages)
        m_err << kProgram << ": " << message << "\n";
}
