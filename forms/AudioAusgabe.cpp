#include "forms/AudioAusgabe.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QMediaDevices>

#include <utility>

#include "forms/AudioAusgabeStrom.h"

namespace {

AudioAusgabeFabrik& installed()
{
    static AudioAusgabeFabrik fabrik;
    return fabrik;
}

// The default device through Qt Multimedia: the sink pulls from a stream that lays each new sound over
// the fade-out of the one before, so the sink keeps running from one play to the next.
class StandardAusgabe : public AudioAusgabe
{
public:
    using AudioAusgabe::AudioAusgabe;
    ~StandardAusgabe() override { stopSink(); }

    bool Abspielen(const QByteArray& pcm, int abtastrate) override
    {
        if (m_sink && m_rate != abtastrate)
            stopSink();
        if (!m_sink) {
            const QAudioDevice device = QMediaDevices::defaultAudioOutput();
            if (device.isNull())
                return false;
            QAudioFormat format;
            format.setSampleRate(abtastrate);
            format.setChannelCount(1);
            format.setSampleFormat(QAudioFormat::Int16);
            m_stream = new AudioAusgabeStrom(this);
            m_sink = new QAudioSink(device, format, this);
            m_rate = abtastrate;
            QAudioSink* sink = m_sink;
            // Stopped, not deleted, when the stream has run out: the sink is inside its own signal here.
            connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
                if (state == QAudio::IdleState)
                    sink->stop();
            });
        }
        m_stream->Starten(pcm);
        // A sink still pulling takes the new sound with the old one's fade; a stopped one starts again.
        if (m_sink->state() == QAudio::StoppedState || m_sink->state() == QAudio::IdleState)
            m_sink->start(m_stream);
        if (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) {
            stopSink();
            return false;
        }
        return true;
    }

    void Anhalten() override
    {
        if (m_stream)
            m_stream->Starten(QByteArray());
    }

private:
    void stopSink()
    {
        if (m_sink) {
            m_sink->stop();
            delete m_sink;
            m_sink = nullptr;
        }
        delete m_stream;
        m_stream = nullptr;
    }

    QAudioSink* m_sink = nullptr; // children of this output
    AudioAusgabeStrom* m_stream = nullptr;
    int m_rate = 0;
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
