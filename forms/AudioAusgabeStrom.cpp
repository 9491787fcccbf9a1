#include "forms/AudioAusgabeStrom.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

AudioAusgabeStrom::AudioAusgabeStrom(QObject* parent) : QIODevice(parent)
{
    open(QIODevice::ReadOnly);
}

void AudioAusgabeStrom::Starten(const QByteArray& pcm)
{
    const qsizetype count = std::min<qsizetype>(pcm.size() / 2, std::numeric_limits<int>::max());
    // The bytes of a QByteArray need not be aligned for 16-bit reads.
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    if (count > 0)
        std::memcpy(samples.data(), pcm.constData(), static_cast<std::size_t>(count) * 2);
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        m_mischer.Starten(samples.data(), static_cast<int>(count));
    }
    emit readyRead();
}

qint64 AudioAusgabeStrom::bytesAvailable() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return 2 * static_cast<qint64>(m_mischer.Rest()) + QIODevice::bytesAvailable();
}

qint64 AudioAusgabeStrom::readData(char* data, qint64 maxSize)
{
    // Through a buffer of its own: data need not be aligned for 16-bit samples.
    std::int16_t samples[1024];
    qint64 written = 0;
    const std::lock_guard<std::mutex> guard(m_lock);
    while (maxSize - written >= 2) {
        const int wanted = static_cast<int>(std::min<qint64>((maxSize - written) / 2, std::size(samples)));
        const int count = m_mischer.Lesen(samples, wanted);
        if (count == 0)
            break;
        std::memcpy(data + written, samples, static_cast<std::size_t>(count) * 2);
        written += 2 * static_cast<qint64>(count);
    }
    return written;
}

qint64 AudioAusgabeStrom::writeData(const char*, qint64)
{
    return -1;
}
