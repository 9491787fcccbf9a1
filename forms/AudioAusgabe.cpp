#include "forms/AudioAusgabe.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>

#include <utility>

namespace {

AudioAusgabeFabrik& installed()
{
    static AudioAusgabeFabrik fabrik;
    return fabrik;
}

// The default device through Qt Multimedia: the sink pulls the rendered buffer itself.
class StandardAusgabe : public AudioAusgabe
{
public:
    using AudioAusgabe::AudioAusgabe;
    ~StandardAusgabe() override { Anhalten(); }

    bool Abspielen(const QByteArray& pcm, int abtastrate) override
    {
        Anhalten();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(abtastrate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        m_buffer = new QBuffer(this);
        m_buffer->setData(pcm);
        m_buffer->open(QIODevice::ReadOnly);
        m_sink = new QAudioSink(device, format, this);
        QAudioSink* sink = m_sink;
        // Stopped, not deleted, when the buffer has run out: the sink is inside its own signal here.
        connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
            if (state == QAudio::IdleState)
                sink->stop();
        });
        sink->start(m_buffer);
        if (sink->error() != QAudio::NoError && sink->error() != QAudio::UnderrunError) {
            Anhalten();
            return false;
        }
        return true;
    }

    void Anhalten() override
    {
        if (m_sink) {
            m_sink->stop();
            delete m_sink;
            m_sink = nullptr;
        }
        delete m_buffer;
        m_buffer = nullptr;
    }

private:
    QAudioSink* m_sink = nullptr; // children of this output
    QBuffer* m_buffer = nullptr;
};

} // namespace

AudioAusgabeFabrik SetzeAudioAusgabe(AudioAusgabeFabrik fabrik)
{
    AudioAusgabeFabrik previous = std::move(installed());
    installed() = std::move(fabrik);
    return previous;
}

AudioAusgabe* AudioAusgabeErzeugen(QObject* owner)
{
    if (installed())
        return installed()(owner);
    return new StandardAusgabe(owner);
}
