#include "DecodeCommand.h"

#include "Decoder.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

constexpr int kBytesPerDumpLine = 16;
constexpr int kParsed = -1;
const QString kProgram = QStringLiteral("ventrix-decode");

// Options of the command line that the decoder alone cannot serve yet: they
// need the session store, the exporter or the recorder.
const QStringList kLaterOptions = {QStringLiteral("store"),   QStringLiteral("export-dir"),
                                   QStringLiteral("xml"),     QStringLiteral("tenths"),
                                   QStringLiteral("fixed-date"), QStringLiteral("record")};

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
    parser.addOption(help);
    parser.addOption(json);
    parser.addOption(dump);
    parser.addOption({QStringLiteral("store"), QStringLiteral("Session database to add to."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("export-dir"), QStringLiteral("Folder for exported sessions."), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("xml"), QStringLiteral("Exports property lists instead of CSV.")});
    parser.addOption({QStringLiteral("tenths"), QStringLiteral("Exports times with tenths.")});
    parser.addOption({QStringLiteral("fixed-date"), QStringLiteral("Exports dates in a fixed format.")});
    parser.addOption({QStringLiteral("record"), QStringLiteral("Records from the default input first."),
                      QStringLiteral("SECONDS")});
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
    for (const QString &name : kLaterOptions) {
        if (parser.isSet(name)) {
            m_err << kProgram << ": --" << name << " is not supported yet\n";
            return UsageError;
        }
    }
    options.json = parser.isSet(json);
    options.dumpBytes = parser.isSet(dump);
    options.files = parser.positionalArguments();
    if (options.files.isEmpty()) {
        m_err << kProgram << ": no recording given\n" << parser.helpText();
        return UsageError;
    }
    return kParsed;
}

int DecodeCommand::run(const QStringList &arguments)
{
    Options options;
    if (const int status = parse(arguments, options); status != kParsed) {
        m_out.flush();
        m_err.flush();
        return status;
    }

    Decoder decoder;
    QJsonArray files;
    bool allDecoded = true;
    for (const QString &path : options.files) {
        QJsonObject entry;
        allDecoded = decodeOne(decoder, path, options, entry) && allDecoded;
        files.append(entry);
    }
    if (options.json)
        m_out << QJsonDocument(QJsonObject{{QStringLiteral("files"), files}}).toJson(QJsonDocument::Indented);
    m_out.flush();
    m_err.flush();
    return allDecoded ? Decoded : NotDecoded;
}

bool DecodeCommand::decodeOne(Decoder &decoder, const QString &path, const Options &options,
                              QJsonObject &entry)
{
    // Extraction and decode are taken apart so that the bytes can be shown before clean-up.
    decoder.extractBytesFromFile(path);
    const bool readable = decoder.readError().isEmpty();
    if (!readable)
        m_err << kProgram << ": cannot read " << path << ": " << decoder.readError() << "\n";
    else if (options.dumpBytes) {
        if (options.files.size() > 1)
            m_out << path << ":\n";
        dumpBytes(decoder);
    }
    const bool decoded = readable && decoder.decodeExtractedBytes();
    const std::optional<WatchModel> model = readable ? decoder.recognisedModel() : std::nullopt;

    entry.insert(QStringLiteral("path"), path);
    entry.insert(QStringLiteral("dataMakesSense"), decoded);
    entry.insert(QStringLiteral("model"), model ? QJsonValue(watchModelName(*model)) : QJsonValue());
    entry.insert(QStringLiteral("sessions"), QJsonArray());

    if (!options.json && !options.dumpBytes) {
        m_out << path << ": ";
        if (!model)
            m_out << "no transfer recognised\n";
        else
            m_out << watchModelName(*model) << (decoded ? " transfer decoded\n" : " transfer with an invalid field\n");
    }
    return decoded;
}

void DecodeCommand::dumpBytes(const Decoder &decoder)
{
    const ByteArray &bytes = decoder.byteArray();
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        m_out << QStringLiteral("%1").arg(bytes[k], 2, 16, QLatin1Char('0'));
        const bool lineEnds = (k + 1) % kBytesPerDumpLine == 0 || k + 1 == bytes.size();
        m_out << (lineEnds ? "\n" : " ");
    }
}
