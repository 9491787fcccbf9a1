#pragma once

#include <QIODevice>

#include <mutex>

#include "klang/KlangMischer.h"

class QByteArray;

// The samples an audio sink pulls: the newest sound over the fade-out of the one it replaced. The sink
// may pull from its own thread, so every access to the mixer is locked.
class AudioAusgabeStrom : public QIODevice
{
    Q_OBJECT

public:
    explicit AudioAusgabeStrom(QObject* parent = nullptr);

    // Plays pcm (16-bit mono samples) from the next read on; what still sounds fades out over 10 ms.
    void Starten(const QByteArray& pcm);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    mutable std::mutex m_lock;
    KlangMischerClass m_mischer;
};
