// Transfer synthesizer: makes the recordings that a heart-rate watch's sound transfer
// leaves in a WAV file, as the room would record them, for tests, benchmarks and ventrix-synth.
// Plain functions over values; safe to call from any thread.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace synth {

inline constexpr int kSampleRate = 44100;
inline constexpr int kCellSamples = 88;       // one bit cell
inline constexpr int kCellsPerFrame = 10;     // start cell, eight data cells, stop cell
inline constexpr int kBlockSize = 255;        // a block of the transfer, header included
inline constexpr int kBlockHeaderSize = 3;
inline constexpr int kBlockPayloadSpace = kBlockSize - kBlockHeaderSize;  // 252
inline constexpr int kTransferHeaderSize = 8; // sync byte and header bytes 1..7
inline constexpr int kCleanedPayloadStart = kTransferHeaderSize + kBlockHeaderSize;  // 11
inline constexpr std::uint8_t kLeadByte = 0xAA;
inline constexpr std::uint8_t kSyncByte = 0x55;

struct FramingOptions {
    int fillCount = 252;       // payload bytes in every block but the last; 1..252
    int leadSyncBytes = 16;    // 0xAA bytes before the sync byte (the decoder needs at least 5)
    std::uint8_t filler = 0x00;  // what fills a block after its payload
};

// Turns the cleaned transfer (what the decoder's clean-up yields: [0] = 0x55 sync, [1..7] header,
// [8..10] block-0 header, [11..] payload) into the raw byte stream the watch sends:
// leadSyncBytes x 0xAA, 0x55, header bytes 1..7 with byte 3 = N, then N blocks of 255 bytes.
// Each block is a 3-byte header, its payload and filler. Blocks 0..N-2 carry fillCount payload
// bytes and have fillCount as the third header byte; the last block carries the remaining
// payload (at most 252 bytes, so N = 1 for up to 252 payload bytes, otherwise
// 1 + ceil((payload - 252) / fillCount)), its third header byte is that remaining count, and
// filler pads it so that all 252 bytes after its header are present. Block 0's header is
// cleaned[8..10] (byte 10 replaced by fillCount when N > 1); the headers of blocks 1..N-1 are
// {0, j, count}. A cleaned array shorter than 11 bytes is first padded with filler to 11.
// What the decoder's clean-up then yields is cleanedRoundTrip(cleaned): the input with
// [0] = 0x55, [3] = N, [10] = fillCount when N > 1, padded with filler to
// 11 + (N - 1) * fillCount + 252 bytes.
// Throws std::invalid_argument when fillCount is outside 1..252, leadSyncBytes is negative,
// or the payload needs more than 255 blocks.
std::vector<std::uint8_t> frameTransfer(const std::vector<std::uint8_t>& cleaned,
                                        const FramingOptions& = {});

// The exact cleaned array the decoder's clean-up gives for frameTransfer(cleaned, options).
std::vector<std::uint8_t> cleanedRoundTrip(const std::vector<std::uint8_t>& cleaned,
                                           const FramingOptions& = {});

// N, the number of 255-byte blocks frameTransfer uses for payloadSize bytes after index 10.
int blockCount(std::size_t payloadSize, int fillCount = 252);

// The watch and the room between it and the microphone. The defaults give a clean recording:
// no noise, no offset, no fading, an exact clock, 0.25 s of silence before and 0.1 s after.
struct RoomOptions {
    // The watch.
    double amplitude = 16000.0;   // A: the carrier amplitude at the top of a burst's envelope
    int frameSpacing = 896;       // samples from one frame start to the next (nominal clock)
    double drift = 0.0;           // clock drift: every interval is (1 + drift) times as long

    // The room.
    std::optional<double> snrDb{};  // white Gaussian noise over the whole recording; SNR is
                                    // 10 log10((A^2 / 2) / sigma^2), i.e. against the mean power
                                    // of a steady tone at the burst's peak amplitude
    double dcOffset = 0.0;        // added to every sample
    double fadeDepth = 0.0;       // 0..1: the bursts' gain swings between 1 and 1 - fadeDepth
    double fadePeriodSeconds = 4.0;
    bool invert = false;          // opposite polarity of the bursts
    double leadSeconds = 0.25;    // before the first frame; the decoder skips 5000 samples
    double tailSeconds = 0.1;     // after the last frame; the decoder skips 1000 samples
    std::uint64_t seed = 1;       // the noise generator's seed

    // Harder rooms; all combine with the above and with each other. Levels are relative to A.
    std::vector<double> clickSeconds{};  // taps on the microphone: each an impulse of clickLevel x A
    double clickLevel = 4.0;             // that dies away within a few samples (not echoed)
    double humLevel = 0.0;               // mains hum: a sine of humLevel x A at humFrequency
    double humFrequency = 50.0;
    double echoLevel = 0.0;              // a wall sends the bursts back echoLevel x as loud,
    double echoDelayMs = 0.0;            // echoDelayMs later (faded like the bursts themselves)
};

// Modulates the byte stream as the watch does: one frame of ten 88-sample bit cells per byte
// (a start burst, eight data cells least significant bit first, a 1 being a burst and a 0
// silence, then an empty stop cell), frames frameSpacing samples apart, and adds the room.
// A burst is A * cos^2(pi u / 36) * sin(2 pi u / 12) for |u| < 18 samples around the cell's
// centre: three cycles of 3675 Hz whose highest sample (about 0.93 A, 3 samples after the
// centre) stands alone, and whose lowest (3 samples before it) does the same once inverted.
// The echo is added to the bursts before fading; hum, clicks, noise and the DC offset after it.
// Samples are rounded and saturated to 16 bits.
// Throws std::invalid_argument on nonsense options (negative or infinite times, amplitude or
// spacing, drift <= -0.5, fadeDepth outside 0..1, fadePeriodSeconds <= 0, negative or infinite
// click, hum or echo levels, hum frequency, echo delay or click times) and when the
// recording would be longer than a WAV file can describe (about 2^31 samples).
std::vector<std::int16_t> modulate(const std::vector<std::uint8_t>& stream,
                                   const RoomOptions& = {});

// Sample index at which the burst of `cell` (0 = start cell) of frame `frame` is centred.
double burstCentre(std::size_t frame, int cell, const RoomOptions& = {});

// Writes a canonical 44-byte-header WAV (44,100 Hz, 16-bit, mono, "data" at byte 36)
// atomically: a failed write leaves an existing file as it was. Returns false on failure and
// then sets *error (when given) to "cannot write PATH: reason".
bool writeWav(const QString& path, const std::vector<std::int16_t>& samples,
              QString* error = nullptr);

// The bytes writeWav writes.
QByteArray wavBytes(const std::vector<std::int16_t>& samples);

// count bytes from a fixed-seed generator (the same seed gives the same bytes everywhere).
std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint64_t seed);

// Reads hexadecimal bytes: pairs of hex digits, optionally "0x"-prefixed, separated by
// whitespace or commas, or written together ("55aa01"). Text after '#' on a line is ignored.
// Returns nothing and sets *error (when given) on anything else.
std::optional<std::vector<std::uint8_t>> parseHexBytes(const QByteArray& text,
                                                        QString* error = nullptr);

}  // namespace synth
