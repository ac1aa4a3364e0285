// ventrix-synth: makes the WAV recording of a watch's sound transfer from its bytes.
#include "TransferSynth.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Far above the 255 blocks a watch can send; keeps a mistaken input (a WAV given as INPUT,
// say) from asking for gigabytes of samples. 100,000 bytes are about 34 minutes of sound.
constexpr qint64 kMaxInputBytes = 16 * 1024 * 1024;
constexpr std::size_t kMaxStreamBytes = 100000;
constexpr double kMaxQuietSeconds = 600.0;  // lead and tail each

const char* const kDescription =
    "Makes the WAV recording (44,100 Hz, 16-bit, mono) of a watch's sound transfer.\n"
    "\n"
    "INPUT holds the cleaned transfer, as the decoder's clean-up yields it: byte 0 the sync\n"
    "byte 0x55, bytes 1-7 the header, 8-10 the first block header, then the payload. It is\n"
    "framed into 0xAA lead bytes, the sync byte and 255-byte blocks (header byte 3 becomes the\n"
    "block count, the last block is padded), then modulated into bursts. INPUT is hex text\n"
    "(pairs of hex digits, spaces, commas, 0x prefixes and # comments allowed), or raw bytes\n"
    "with --binary; '-' reads standard input.\n"
    "\n"
    "Noise SNR is measured against the power of a steady tone at the bursts' peak amplitude.";

void printError(const QString& message)
{
    std::fprintf(stderr, "ventrix-synth: %s\n", qPrintable(message));
}

// Reads the option values; the first bad one leaves its complaint in `error`.
class OptionReader {
public:
    explicit OptionReader(const QCommandLineParser& parser) : m_parser(parser) {}

    const QString& error() const { return m_error; }

    void read(const char* name, double& target)
    {
        readWith(name, target, [](const QString& t, bool* ok) { return t.toDouble(ok); }, "a number");
    }
    void read(const char* name, int& target)
    {
        readWith(name, target, [](const QString& t, bool* ok) { return t.toInt(ok); }, "a whole number");
    }
    void read(const char* name, std::uint64_t& target)
    {
        readWith(name, target, [](const QString& t, bool* ok) { return t.toULongLong(ok); },
                 "a whole number");
    }
    void read(const char* name, std::optional<double>& target)
    {
        double value = 0.0;
        if (readWith(name, value, [](const QString& t, bool* ok) { return t.toDouble(ok); }, "a number"))
            target = value;
    }

    void readFade(synth::RoomOptions& room)
    {
        if (!m_parser.isSet("fade"))
            return;
        const QStringList parts = m_parser.value("fade").split(u',');
        bool depthOk = false;
        bool periodOk = true;
        room.fadeDepth = parts.value(0).toDouble(&depthOk);
        if (parts.size() > 1)
            room.fadePeriodSeconds = parts[1].toDouble(&periodOk);
        if (!depthOk || !periodOk || parts.size() > 2)
            complain("fade", "DEPTH or DEPTH,PERIOD");
    }

private:
    // True when the option is set and its text converts.
    template <typename T, typename Convert>
    bool readWith(const char* name, T& target, Convert convert, const char* what)
    {
        if (!m_parser.isSet(name))
            return false;
        bool ok = false;
        const auto value = convert(m_parser.value(name), &ok);
        if (!ok) {
            complain(name, what);
            return false;
        }
        target = T(value);
        return true;
    }

    void complain(const char* name, const char* what)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("--%1 needs %2, not '%3'")
                          .arg(QLatin1String(name), QLatin1String(what), m_parser.value(name));
    }

    const QCommandLineParser& m_parser;
    QString m_error;
};

synth::RoomOptions roomOptions(const QCommandLineParser& parser, OptionReader& reader)
{
    synth::RoomOptions room;
    reader.read("amplitude", room.amplitude);
    reader.read("spacing", room.frameSpacing);
    reader.read("drift", room.drift);
    reader.read("snr", room.snrDb);
    reader.read("dc", room.dcOffset);
    reader.readFade(room);
    room.invert = parser.isSet("invert");
    reader.read("lead", room.leadSeconds);
    reader.read("tail", room.tailSeconds);
    reader.read("seed", room.seed);
    return room;
}

synth::FramingOptions framingOptions(OptionReader& reader)
{
    synth::FramingOptions framing;
    reader.read("fill-count", framing.fillCount);
    reader.read("lead-sync", framing.leadSyncBytes);
    return framing;
}

// Reads all of INPUT; "-" is standard input.
bool readInput(const QString& path, QByteArray& contents, QString& error)
{
    const bool standardInput = path == QLatin1String("-");
    QFile file(standardInput ? QString() : path);
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : file.open(QIODevice::ReadOnly);
    if (opened)
        contents = file.read(kMaxInputBytes + 1);
    if (!opened || file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (contents.size() > kMaxInputBytes) {
        error = QStringLiteral("cannot read %1: larger than %2 bytes").arg(path).arg(kMaxInputBytes);
        return false;
    }
    return true;
}

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addOptions({
        {{"h", "help"}, "Shows this help."},
        {"version", "Prints the version."},
        {"binary", "INPUT holds raw bytes, not hex text."},
        {"raw-stream", "INPUT is already the framed stream the watch sends; do not frame it."},
        {"fill-count", "Payload bytes per block but the last, 1-252 (default 252).", "N"},
        {"lead-sync", "Number of 0xAA bytes before the sync byte (default 16).", "N"},
        {"snr", "Add white Gaussian noise at this SNR.", "DB"},
        {"dc", "Add this DC offset, in sample units.", "N"},
        {"fade", "Fade the bursts by DEPTH (0-1) over PERIOD seconds (default 4).", "DEPTH[,PERIOD]"},
        {"drift", "Clock drift: every interval is (1 + FRACTION) long, e.g. 0.01.", "FRACTION"},
        {"invert", "Record the bursts with opposite polarity."},
        {"lead", "Seconds of silence (or noise) before the transfer (default 0.25).", "S"},
        {"tail", "Seconds of silence (or noise) after the transfer (default 0.1).", "S"},
        {"seed", "Seed of the noise generator (default 1).", "N"},
        {"amplitude", "Peak amplitude of the bursts' carrier (default 16000).", "A"},
        {"spacing", "Samples from one frame start to the next (default 896).", "N"},
    });
    parser.addPositionalArgument("INPUT", "The transfer bytes, or '-' for standard input.");
    parser.addPositionalArgument("OUT.wav", "The recording to write.");
}

int usageError(const QString& message)
{
    printError(message);
    std::fputs("Try 'ventrix-synth --help'.\n", stderr);
    return kExitUsage;
}

int run(const QCoreApplication& app)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::puts("ventrix-synth " VENTRIX_VERSION);
        return 0;
    }
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return usageError(QStringLiteral("expected INPUT and OUT.wav"));
    OptionReader reader(parser);
    const synth::RoomOptions room = roomOptions(parser, reader);
    const synth::FramingOptions framing = framingOptions(reader);
    if (!reader.error().isEmpty())
        return usageError(reader.error());
    if (room.leadSeconds > kMaxQuietSeconds || room.tailSeconds > kMaxQuietSeconds)
        return usageError(QStringLiteral("--lead and --tail are at most %1 seconds").arg(kMaxQuietSeconds));

    QByteArray contents;
    QString error;
    if (!readInput(arguments[0], contents, error)) {
        printError(error);
        return kExitFailure;
    }
    std::vector<std::uint8_t> bytes;
    if (parser.isSet("binary")) {
        bytes.assign(contents.begin(), contents.end());
    } else {
        const auto parsed = synth::parseHexBytes(contents, &error);
        if (!parsed) {
            printError(QStringLiteral("%1: %2").arg(arguments[0], error));
            return kExitFailure;
        }
        bytes = *parsed;
    }

    // The synthesizer rejects nonsense option values (a fill count of 300, a fade depth of 2)
    // with invalid_argument; for this tool they are usage errors.
    std::vector<std::int16_t> samples;
    try {
        const auto stream = parser.isSet("raw-stream") ? bytes : synth::frameTransfer(bytes, framing);
        if (stream.size() > kMaxStreamBytes) {
            printError(QStringLiteral("%1: a stream of %2 bytes is too long (at most %3)")
                           .arg(arguments[0]).arg(stream.size()).arg(kMaxStreamBytes));
            return kExitFailure;
        }
        samples = synth::modulate(stream, room);
    } catch (const std::invalid_argument& e) {
        return usageError(QString::fromUtf8(e.what()));
    }
    if (!synth::writeWav(arguments[1], samples, &error)) {
        printError(error);
        return kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ventrix-synth"));
    return run(app);
}
