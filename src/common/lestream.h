#pragma once
// Little-endian reading and writing of the course's binary files (index and
// question files). Every count read from a file is checked against the bytes
// that are left before anything is allocated, so a truncated or hostile file
// ends in EStreamError, never in a huge allocation or a read past the end.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace quarvel {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLEReader {
public:
    explicit TLEReader(QByteArray data) : m_data(std::move(data)) {}

    qsizetype Position() const { return m_pos; }
    qsizetype Remaining() const { return m_data.size() - m_pos; }
    bool AtEnd() const { return m_pos >= m_data.size(); }

    std::int32_t ReadInt32();
    // int32 count L of UTF-16 code units, then 2 * L bytes of UTF-16LE text.
    QString ReadUtf16String();
    // int32 byte count, then that many bytes of Windows-1252 text.
    QString ReadAnsiString();
    QByteArray ReadBytes(qsizetype count);
    void Skip(qsizetype count);

private:
    void Need(qsizetype bytes, const char* what) const;
    QByteArray m_data;
    qsizetype m_pos = 0;
};

class TLEWriter {
public:
    void WriteInt32(std::int32_t value);
    void WriteUtf16String(const QString& text);
    void WriteAnsiString(const QString& text);
    void WriteBytes(const QByteArray& bytes) { m_data.append(bytes); }
    const QByteArray& Data() const { return m_data; }

private:
    QByteArray m_data;
};

// Windows-1252, the code page the older course files were written in.
QString DecodeWindows1252(const QByteArray& bytes);
// Characters outside Windows-1252 become '?'.
QByteArray EncodeWindows1252(const QString& text);
// A text file such as the topic list: UTF-8 (with or without its byte-order
// mark), or Windows-1252 when it is not valid UTF-8, as older lists were saved.
QString DecodeTextFile(const QByteArray& raw);

} // namespace quarvel
