#pragma once
// Little-endian numbers read from a file's bytes. Every reader returns 0 past the end of
// the data instead of reading out of bounds, so a decoder that checks sizes once per
// structure cannot be led astray by a field it forgot to check.

#include <QByteArray>

#include <cstdint>

namespace zelpo {

inline quint8 LerU8(const QByteArray& b, qint64 pos)
{
    return pos >= 0 && pos < b.size() ? static_cast<quint8>(b[pos]) : 0;
}

inline quint16 LerU16(const QByteArray& b, qint64 pos)
{
    return static_cast<quint16>(LerU8(b, pos) | (LerU8(b, pos + 1) << 8));
}

inline qint16 LerS16(const QByteArray& b, qint64 pos)
{
    return static_cast<qint16>(LerU16(b, pos));
}

inline quint32 LerU32(const QByteArray& b, qint64 pos)
{
    return static_cast<quint32>(LerU16(b, pos)) | (static_cast<quint32>(LerU16(b, pos + 2)) << 16);
}

inline qint32 LerS32(const QByteArray& b, qint64 pos)
{
    return static_cast<qint32>(LerU32(b, pos));
}

inline quint32 LerU32BigEndian(const QByteArray& b, qint64 pos)
{
    return (static_cast<quint32>(LerU8(b, pos)) << 24) | (static_cast<quint32>(LerU8(b, pos + 1)) << 16)
        | (static_cast<quint32>(LerU8(b, pos + 2)) << 8) | LerU8(b, pos + 3);
}

} // namespace zelpo
