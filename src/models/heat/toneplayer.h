#pragma once
// The sound-play panel's player: loops a tone's samples through one audio
// output (44100 Hz, mono, 16-bit) with a short buffer, so that a new key is
// heard at once. Without an audio device it stays silent and says nothing.
//
// The output is topped up by a short timer from a TLoopDevice, so a new
// tone reaches it at the next top-up without restarting the output.

#include "models/heat/sound.h"

#include <QIODevice>
#include <QPointer>
#include <memory>

class QAudioSink;
class QTimer;

namespace quarvel {

// Reads the samples of a WAV image over and over.
// The image is not copied: it must outlive its use here (until SetImage
// with another image or nullptr).
class TLoopDevice : public QIODevice {
    Q_OBJECT
public:
    explicit TLoopDevice(QObject* parent = nullptr);
    // Swaps the tone read from the next byte on, keeping the place within the
    // period so the output runs on without a gap; nullptr reads silence.
    void SetImage(const QByteArray* image);
    const QByteArray* Image() const { return m_image; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray* m_image = nullptr;
    qint64 m_pos = 0; // byte offset within the samples
};

class TAudioTonePlayer : public TTonePlayer {
public:
    TAudioTonePlayer();
    ~TAudioTonePlayer() override;
    void Play(QBuffer* stream) override;
    void Stop() override;
    // False until a tone has found an audio output, and for good when the
    // machine has none for the tone's format.
    bool HasDevice() const { return m_sink != nullptr; }
    // Whether the machine offers an audio output at all.
    static bool HasOutput();

private:
    bool Open();
    // Tops the output's buffer up from the loop.
    void Feed();
    void Close();
    bool m_tried = false;
    std::unique_ptr<TLoopDevice> m_device;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QTimer> m_feeder;
    QPointer<QIODevice> m_output; // the output's own device while it plays
};

} // namespace quarvel
