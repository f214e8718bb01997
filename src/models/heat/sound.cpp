#include "models/heat/sound.h"

#include "common/rounding.h"

#include <QBuffer>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarvel {

namespace {
void Put32(char* at, std::uint32_t v) { qToLittleEndian<quint32>(v, at); }
void Put16(char* at, std::uint16_t v) { qToLittleEndian<quint16>(v, at); }
} // namespace

void WriteWaveHeader(char* header, std::uint32_t dataSize, int bits, int channels, int sampleRate) {
    std::memcpy(header, "RIFF", 4);
    Put32(header + 4, dataSize * std::uint32_t(channels) + 36);
    std::memcpy(header + 8, "WAVE", 4);
    std::memcpy(header + 12, "fmt ", 4);
    Put32(header + 16, 16);
    Put16(header + 20, 1); // PCM
    Put16(header + 22, std::uint16_t(channels));
    Put32(header + 24, std::uint32_t(sampleRate));
    Put32(header + 28, std::uint32_t(sampleRate * channels * (bits / 8)));
    Put16(header + 32, std::uint16_t((bits / 8) * channels));
    Put16(header + 34, std::uint16_t(bits));
    std::memcpy(header + 36, "data", 4);
    Put32(header + 40, dataSize * std::uint32_t(channels));
}

QByteArray ToneSamples(const TToneAmplitudes& amplitudes, float frequency) {
    // Written as a negated test so that NaN is refused too.
    if (!(frequency > 0.0f))
        return {};
    const float degreesPerSample = frequency * 360.0f / float(kToneSampleRate);
    const std::int64_t n = RoundHalfEven(double(360.0f / degreesPerSample));
    if (n < 1)
        return {};
    QByteArray samples(qsizetype(n) * 2, '\0');
    const float degToRad = float(M_PI) / 180.0f;
    for (std::int64_t i = 0; i + 1 < n; ++i) { // the last sample stays 0
        const float theta = float(i) * degreesPerSample * degToRad;
        double sum = 0.0;
        for (int k = 1; k <= 5; ++k)
            sum += std::sin(double(k) * double(theta)) * double(amplitudes[k - 1]) * 1000.0;
        const std::int64_t value = std::clamp<std::int64_t>(RoundHalfEven(sum), -kToneSampleLimit, kToneSampleLimit);
        qToLittleEndian<qint16>(qint16(value), samples.data() + i * 2);
    }
    return samples;
}

bool MakeTone(QBuffer* stream, const TToneAmplitudes& amplitudes, float frequency, TTonePlayer* player) {
    if (!stream)
        return false;
    const QByteArray samples = ToneSamples(amplitudes, frequency);
    if (samples.isEmpty())
        return false;
    QByteArray image(kWaveHeaderSize, '\0');
    WriteWaveHeader(image.data(), std::uint32_t(samples.size()), 16, 1, kToneSampleRate);
    image += samples;
    if (stream->isOpen())
        stream->close();
    stream->setData(image);
    stream->open(QIODevice::ReadOnly);
    if (player)
        player->Play(stream);
    return true;
}

QByteArray WaveSamples(const QByteArray& image) {
    return image.size() > kWaveHeaderSize ? image.mid(kWaveHeaderSize) : QByteArray();
}

} // namespace quarvel
