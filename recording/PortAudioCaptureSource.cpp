#include "PortAudioCaptureSource.h"

#include "AudioFileRecorder.h"

#include <portaudio.h>

#include <array>

namespace {

int captureCallback(const void *input, void *, unsigned long frameCount, const PaStreamCallbackTimeInfo *,
                    PaStreamCallbackFlags statusFlags, void *userData)
{
    auto *recorder = static_cast<AudioFileRecorder *>(userData);
    const std::uint32_t flags = (statusFlags & paInputOverflow) ? AudioFileRecorder::kInputOverflow : 0u;
    recorder->renderInput(static_cast<const float *>(input), std::uint32_t(frameCount), flags);
    return paContinue;
}

struct StreamChoice
{
    int channels = 0;
    double sampleRate = 0.0;
};

// One channel at the device's own rate when it allows that; otherwise the
// channels or the rate the device can do (renderInput mixes to mono, the
// writer resamples to 44,100 Hz).
StreamChoice chooseStream(PaDeviceIndex device, const PaDeviceInfo &info)
{
    const std::array<double, 3> rates{info.defaultSampleRate, 44100.0, 48000.0};
    for (int channels = 1; channels <= std::max(1, info.maxInputChannels); ++channels) {
        PaStreamParameters parameters{device, channels, paFloat32, info.defaultHighInputLatency, nullptr};
        for (double rate : rates) {
            if (rate > 0 && Pa_IsFormatSupported(&parameters, nullptr, rate) == paFormatIsSupported)
                return {channels, rate};
        }
    }
    return {};
}

} // namespace

PortAudioCaptureSource::~PortAudioCaptureSource()
{
    if (m_stream)
        Pa_CloseStream(m_stream); // aborts a stream still running
    if (m_initialized)
        Pa_Terminate();
}

std::int32_t PortAudioCaptureSource::open(AudioFileRecorder &recorder, CaptureFormat &format)
{
    if (m_stream)
        return fail(paStreamIsNotStopped, tr("the audio input is already open"));
    const PaError initStatus = Pa_Initialize();
    if (initStatus != paNoError)
        return fail(initStatus, tr("cannot initialize the audio system"));
    m_initialized = true;

    const PaDeviceIndex device = Pa_GetDefaultInputDevice();
    const PaDeviceInfo *info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (!info || info->maxInputChannels < 1) {
        m_lastError = tr("no audio input device");
        return paDeviceUnavailable;
    }
    const StreamChoice choice = chooseStream(device, *info);
    if (choice.channels == 0) {
        m_lastError = tr("cannot open the audio input device \"%1\": it delivers no float samples "
                                     "at %2 Hz, 44100 Hz or 48000 Hz")
                          .arg(QString::fromLocal8Bit(info->name))
                          .arg(info->defaultSampleRate);
        return paInvalidSampleRate;
    }
    const PaStreamParameters parameters{device, choice.channels, paFloat32, info->defaultHighInputLatency, nullptr};
    const PaError openStatus = Pa_OpenStream(&m_stream, &parameters, nullptr, choice.sampleRate, kFramesPerBuffer,
                                             paNoFlag, captureCallback, &recorder);
    if (openStatus != paNoError) {
        m_stream = nullptr;
        return fail(openStatus, tr("cannot open the audio input device \"%1\"")
                                    .arg(QString::fromLocal8Bit(info->name)));
    }
    format.deviceFormat = StreamFormat{choice.sampleRate, std::uint32_t(choice.channels), 32, true};
    format.bufferFrameSize = kFramesPerBuffer;
    return 0;
}

std::int32_t PortAudioCaptureSource::start()
{
    if (!m_stream)
        return fail(paBadStreamPtr, tr("the audio input is not open"));
    return fail(Pa_StartStream(m_stream), tr("cannot start the audio input"));
}

std::int32_t PortAudioCaptureSource::stop()
{
    if (!m_stream || Pa_IsStreamStopped(m_stream) == 1)
        return 0;
    // Pa_StopStream returns after the last callback has finished.
    return fail(Pa_StopStream(m_stream), tr("cannot stop the audio input"));
}

std::int32_t PortAudioCaptureSource::fail(std::int32_t status, const QString &what)
{
    if (status != paNoError)
        m_lastError = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(Pa_GetErrorText(status)));
    return status;
}
