#pragma once

#include <QObject>

#include <functional>

class QByteArray;

// Where the program's sounds go: the default audio device, or in tests whatever they install.
class AudioAusgabe : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Plays pcm (16-bit mono samples); the sound still playing fades out within 10 ms beneath it. False
    // when there is no audio device. Returns at once: the output pulls the buffer while the window
    // carries on.
    virtual bool Abspielen(const QByteArray& pcm, int abtastrate) = 0;
    // Fades out what is playing, within 10 ms as well.
    virtual void Anhalten() = 0;
};

// Makes the output for an owner; tests install one that records instead of playing.
using AudioAusgabeFabrik = std::function<AudioAusgabe*(QObject* owner)>;
// Installs the factory (empty: the default device again) and returns the previous one.
AudioAusgabeFabrik SetzeAudioAusgabe(AudioAusgabeFabrik fabrik);
// The installed output, or one on the default device; owner owns it.
AudioAusgabe* AudioAusgabeErzeugen(QObject* owner);
