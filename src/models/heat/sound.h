#pragma once
// Tones for the sound-play panel: one period of a fundamental and four
// harmonics as 16-bit mono samples at 44100 Hz, wrapped in a WAV image in
// memory, and the player interface that loops such an image.

#include <QByteArray>
#include <array>
#include <cstdint>

class QBuffer;

namespace quarvel {

constexpr int kToneSampleRate = 44100;
constexpr int kWaveHeaderSize = 44;
constexpr int kToneSampleLimit = 32000;

// Amplitudes of the fundamental and the 2nd ... 5th harmonics, in spin units 0 ... 32.
using TToneAmplitudes = std::array<float, 5>;

// Plays a WAV image in a loop. The image is read while it plays, so it must
// stay alive until Stop or the next Play.
class TTonePlayer {
public:
    virtual ~TTonePlayer() = default;
    // Loops the samples of `stream`'s WAV image, replacing any tone sounding.
    virtual void Play(QBuffer* stream) = 0;
    // Silences the player; it no longer reads the last image.
    virtual void Stop() = 0;
};

// Fills the 44-byte little-endian header of a PCM WAV image.
void WriteWaveHeader(char* header, std::uint32_t dataSize, int bits, int channels, int sampleRate);

// One period of the tone at `frequency` Hz: round(44100 / (f x 360 / 44100)
// degrees per sample) samples, the last one 0, each limited to +/-32000.
// Empty for a frequency of 0 or less.
QByteArray ToneSamples(const TToneAmplitudes& amplitudes, float frequency);

// Fills `stream` with the WAV image of one period of the tone and starts
// `player` looping it (when there is one). Nothing happens without a
// stream; a frequency of 0 or less is refused (false, the stream untouched).
bool MakeTone(QBuffer* stream, const TToneAmplitudes& amplitudes, float frequency, TTonePlayer* player);

// The samples of a WAV image written by MakeTone (after its header).
QByteArray WaveSamples(const QByteArray& image);

} // namespace quarvel
