#include "common/lestream.h"

#include <QStringDecoder>

#include <array>

namespace quarvel {

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F) {
            const char16_t u = kHigh[b - 0x80];
            out.append(QChar(u ? u : char16_t(b))); // unassigned bytes pass through as C1
        } else {
            out.append(QChar(char16_t(b)));
        }
    }
    return out;
}

QString DecodeTextFile(const QByteArray& raw) {
    const QByteArray body = raw.startsWith("\xEF\xBB\xBF") ? raw.mid(3) : raw;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    return utf8.hasError() ? DecodeWindows1252(raw) : text;
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (std::size_t i = 0; i < kHigh.size(); ++i)
            if (kHigh[i] == u && u != 0) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        out.append(mapped);
    }
    return out;
}

void TLEReader::Need(qsizetype bytes, const char* what) const {
    if (bytes < 0 || bytes > Remaining())
        throw EStreamError(QStringLiteral("Unexpected end of data: %1 needs %2 bytes at offset %3, "
                                          "but only %4 are left")
                               .arg(QLatin1String(what))
                               .arg(bytes)
                               .arg(m_pos)
                               .arg(Remaining())
                               .toStdString());
}

std::int32_t TLEReader::ReadInt32() {
    Need(4, "a number");
    const auto* p = reinterpret_cast<const unsigned char*>(m_data.constData() + m_pos);
    const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                            std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    m_pos += 4;
    return static_cast<std::int32_t>(v);
}

QString TLEReader::ReadUtf16String() {
    const qsizetype at = m_pos;
    const std::int32_t count = ReadInt32();
    if (count < 0)
        throw EStreamError(
            QStringLiteral("Invalid string length %1 at offset %2").arg(count).arg(at).toStdString());
    Need(qsizetype(count) * 2, "a string");
    QString text(count, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(m_data.constData() + m_pos);
    for (std::int32_t i = 0; i < count; ++i)
        text[i] = QChar(char16_t(p[2 * i] | (p[2 * i + 1] << 8)));
    m_pos += qsizetype(count) * 2;
    return text;
}

QString TLEReader::ReadAnsiString() {
    const qsizetype at = m_pos;
    const std::int32_t count = ReadInt32();
    if (count < 0)
        throw EStreamError(
            QStringLiteral("Invalid string length %1 at offset %2").arg(count).arg(at).toStdString());
    return DecodeWindows1252(ReadBytes(count));
}

QByteArray TLEReader::ReadBytes(qsizetype count) {
    Need(count, "a block");
    QByteArray out = m_data.mid(m_pos, count);
    m_pos += count;
    return out;
}

void TLEReader::Skip(qsizetype count) {
    Need(count, "a block");
    m_pos += count;
}

void TLEWriter::WriteInt32(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char((v >> 24) & 0xFF)};
    m_data.append(b, 4);
}

void TLEWriter::WriteUtf16String(const QString& text) {
    WriteInt32(static_cast<std::int32_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        m_data.append(char(u & 0xFF));
        m_data.append(char(u >> 8));
    }
}

void TLEWriter::WriteAnsiString(const QString& text) {
    const QByteArray bytes = EncodeWindows1252(text);
    WriteInt32(static_cast<std::int32_t>(bytes.size()));
    m_data.append(bytes);
}

} // namespace quarvel
