#include "models/heat/toneplayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cstring>

namespace quarvel {

namespace {
// About 50 ms of samples: short enough that a new key is heard at once.
constexpr qsizetype kOutputBufferBytes = kToneSampleRate / 20 * 2;
// The output is topped up this often, well inside its buffer's length.
constexpr int kFeedMilliseconds = 10;
} // namespace

TLoopDevice::TLoopDevice(QObject* parent) : QIODevice(parent) {
    // Unbuffered: no read-ahead, so a new tone is read from the next request.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void TLoopDevice::SetImage(const QByteArray* image) {
    m_image = image;
    const qint64 count = image ? image->size() - kWaveHeaderSize : 0;
    m_pos = count > 0 ? (m_pos % count) & ~qint64(1) : 0;
}

qint64 TLoopDevice::bytesAvailable() const {
    // An endless tone: always a good buffer's worth ready.
    return QIODevice::bytesAvailable() + kOutputBufferBytes * 4;
}

qint64 TLoopDevice::readData(char* data, qint64 maxSize) {
    const qint64 count = m_image ? m_image->size() - kWaveHeaderSize : 0;
    if (count <= 0) {
        std::memset(data, 0, size_t(maxSize));
        return maxSize;
    }
    const char* samples = m_image->constData() + kWaveHeaderSize;
    qint64 done = 0;
    while (done < maxSize) {
        const qint64 n = std::min(maxSize - done, count - m_pos);
        std::memcpy(data + done, samples + m_pos, size_t(n));
        done += n;
        m_pos = (m_pos + n) % count;
    }
    return done;
}

TAudioTonePlayer::TAudioTonePlayer() : m_device(std::make_unique<TLoopDevice>()) {}

TAudioTonePlayer::~TAudioTonePlayer() { Close(); }

bool TAudioTonePlayer::HasOutput() { return !QMediaDevices::defaultAudioOutput().isNull(); }

bool TAudioTonePlayer::Open() {
    if (m_tried)
        return m_sink != nullptr;
    m_tried = true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false; // no sound on this machine: the panel stays silent
    QAudioFormat format;
    format.setSampleRate(kToneSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(kOutputBufferBytes);
    m_feeder = std::make_unique<QTimer>();
    m_feeder->setInterval(kFeedMilliseconds);
    QObject::connect(m_feeder.get(), &QTimer::timeout, m_feeder.get(), [this] { Feed(); });
    return true;
}

void TAudioTonePlayer::Close() {
    if (m_feeder)
        m_feeder->stop();
    if (m_sink)
        m_sink->stop();
    m_output = nullptr;
}

void TAudioTonePlayer::Feed() {
    if (!m_sink || !m_output)
        return;
    qint64 room = m_sink->bytesFree() & ~qint64(1);
    char chunk[kOutputBufferBytes];
    while (room > 0) {
        const qint64 n = m_device->read(chunk, std::min<qint64>(room, sizeof chunk));
        const qint64 written = n > 0 ? m_output->write(chunk, n) : 0;
        if (written <= 0)
            break;
        room -= written;
    }
}

void TAudioTonePlayer::Play(QBuffer* stream) {
    m_device->SetImage(stream ? &stream->buffer() : nullptr);
    if (!Open())
        return;
    if (!m_output) {
        m_output = m_sink->start();
        if (!m_output || m_sink->error() != QAudio::NoError) {
            // The device went away: silence, not an error box.
            m_sink->stop();
            m_sink.reset();
            m_output = nullptr;
            return;
        }
        Feed();
        m_feeder->start();
    }
}

void TAudioTonePlayer::Stop() {
    Close();
    m_device->SetImage(nullptr);
}

} // namespace quarvel
