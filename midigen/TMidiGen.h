#pragma once

// The MIDI generator: a non-visual component that plays a single note or a
// play-string as one timed MIDI stream on a MIDI output device.

#include "MidiGenTypes.h"
#include "PlayStringParser.h"
#include "StreamBuilder.h"
#include "TMidiCalls.h"
#include "TimedEvent.h"

#include "platform/NotifyWindow.h"
#include "platform/midi/MidiOut.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TMidiGen : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Volume READ Volume WRITE setVolume)
    Q_PROPERTY(int Pan READ Pan WRITE setPan)
    Q_PROPERTY(int Reverb READ Reverb WRITE setReverb)
    Q_PROPERTY(int Chorus READ Chorus WRITE setChorus)
    Q_PROPERTY(bool Sustain READ Sustain WRITE setSustain)
    Q_PROPERTY(int Modulation READ Modulation WRITE setModulation)
    Q_PROPERTY(int PitchBend READ PitchBend WRITE setPitchBend)
    Q_PROPERTY(int PBDelay READ PBDelay WRITE setPBDelay)
    Q_PROPERTY(int PBDuration READ PBDuration WRITE setPBDuration)
    Q_PROPERTY(uint Duration READ Duration WRITE setDuration)
    Q_PROPERTY(int Note READ noteOrdinal WRITE setNoteOrdinal)
    Q_PROPERTY(int Octave READ Octave WRITE setOctave)
    Q_PROPERTY(int Instrument READ instrumentOrdinal WRITE setInstrumentOrdinal)
    Q_PROPERTY(int Channel READ channelOrdinal WRITE setChannelOrdinal)
    Q_PROPERTY(uint Loops READ Loops WRITE setLoops)
    Q_PROPERTY(bool IsPlaying READ IsPlaying)

public:
    explicit TMidiGen(QObject *owner = nullptr);
    // Stops playback, also a stream that has not reached its first event, and
    // waits, pumping the message loop, until the stream has closed.
    ~TMidiGen() override;

    // Published properties. Out-of-range values of the clamped ones are
    // replaced by the nearest bound; every value takes effect at the next
    // play request.
    int Volume() const { return m_volume; }
    void setVolume(int value);          // 0..100
    int Pan() const { return m_pan; }
    void setPan(int value);             // -100..100
    int Reverb() const { return m_reverb; }
    void setReverb(int value);          // 0..100
    int Chorus() const { return m_chorus; }
    void setChorus(int value);          // 0..100
    bool Sustain() const { return m_sustain; }
    void setSustain(bool value) { m_sustain = value; }
    int Modulation() const { return m_modulation; }
    void setModulation(int value);      // 0..100
    // Size of the pitch glide in tenths of a semitone (-120..120).
    int PitchBend() const { return m_pitchBend; }
    void setPitchBend(int value);
    // Percent of the note length before the glide begins (0..100).
    int PBDelay() const { return m_pbDelay; }
    void setPBDelay(int value);
    // Percent of the rest of the note over which the glide runs (0..100).
    int PBDuration() const { return m_pbDuration; }
    void setPBDuration(int value);
    // Default note length in ticks of 10 ms.
    uint32_t Duration() const { return m_duration; }
    void setDuration(uint32_t value) { m_duration = value; }
    TMGNote Note() const { return m_note; }
    void setNote(TMGNote value);
    int Octave() const { return m_octave; }
    void setOctave(int value);          // 0..10
    TMGInstrument Instrument() const { return m_instrument; }
    void setInstrument(TMGInstrument value);
    TMGChannel Channel() const { return m_channel; }
    void setChannel(TMGChannel value);
    // How many times a request's stream plays; 0 repeats it until Stop.
    uint32_t Loops() const { return m_loops; }
    void setLoops(uint32_t value) { m_loops = value; }
    // True from the stream's open notification until its close notification.
    bool IsPlaying() const { return m_isPlaying; }

    // Plays a play-string; True when the stream was started.
    bool PlayString(const QString &text);
    // Plays one MIDI note number for Duration ticks; True when started.
    bool PlayNote(int note);
    // PlayNote(Note + Octave * 12).
    bool Play();
    // Ends the current playback; the close notification clears IsPlaying.
    void Stop();
    // True when this generator's stream is open or the device can be opened.
    bool MidiAvailable();
    // Stores id (-1 = the MIDI mapper) and tells whether it names a device.
    bool SetDevice(int id);
    int DeviceId() const { return int(m_deviceId); }

    // The stream buffer a request would queue with the current settings,
    // built without a device (for tools and inspection).
    std::vector<uint8_t> BufferForString(const QString &text) const;
    std::vector<uint8_t> BufferForNote(int note) const;

    // While edited in a form designer, out-of-range values are reported with
    // a message box before they are clamped.
    bool DesignMode() const { return m_designMode; }
    void setDesignMode(bool value) { m_designMode = value; }

    // Identity used by the stream-owner rule: only the first generator of
    // the process that opened a stream may play afterwards.
    int GeneratorId() const { return m_generatorId; }
    static int StreamOwnerId();
    // Forgets the owner, so test cases in one process start afresh.
    static void ResetStreamOwnerForTests();

    // The MIDI calls this generator makes (tests put failing ones in place).
    const TMidiCalls &MidiCalls() const { return m_calls; }
    void setMidiCalls(const TMidiCalls &calls) { m_calls = calls; }

protected:
    // Shows the design-mode range message through the platform's error
    // routine (caption "Error"; the standard error box in a form designer).
    virtual void showRangeMessage(const QString &text);

private:
    int checkRange(int value, int min, int max);
    // Property-system access to the enumerations as ordinals.
    int noteOrdinal() const { return m_note; }
    void setNoteOrdinal(int value) { setNote(TMGNote(value)); }
    int instrumentOrdinal() const { return m_instrument; }
    void setInstrumentOrdinal(int value) { setInstrument(TMGInstrument(value)); }
    int channelOrdinal() const { return m_channel; }
    void setChannelOrdinal(int value) { setChannel(TMGChannel(value)); }

    TParserSettings parserSettings(int playChannel) const;
    TStreamSettings streamSettings(int playChannel) const;
    TTimedEventList noteEvents(int note, int playChannel) const;

    bool beginRequest();
    bool buildAndPlay(const TTimedEventList &events, bool glideAllowed);
    void failRequest();
    void closeAfterFailure();
    void finishStream();
    void handleNotification(const platform::TMessage &message);
    template<typename Pred> void pumpUntil(Pred done);

    int m_volume = 100;
    int m_pan = 0;
    int m_reverb = 0;
    int m_chorus = 0;
    bool m_sustain = false;
    int m_modulation = 0;
    int m_pitchBend = 0;
    int m_pbDelay = 0;
    int m_pbDuration = 100;
    uint32_t m_duration = 50;
    TMGNote m_note = mgC;
    int m_octave = 4;
    TMGInstrument m_instrument = mgAcousticGrandPiano;
    TMGChannel m_channel = mgCh01;
    uint32_t m_loops = 1;
    bool m_isPlaying = false;
    bool m_designMode = false;

    platform::midi::HMIDISTRM m_stream = nullptr;
    uint32_t m_deviceId = 0xFFFFFFFFu;
    std::vector<uint8_t> m_eventBuffer;
    platform::midi::MIDIHDR m_streamHeader;
    bool m_headerPrepared = false;
    int m_generatorId;
    int m_playChannel = 0;
    bool m_streamOpen = false;
    bool m_repeatEnabled = false;
    uint32_t m_loopsLeft = 0;
    bool m_ready = true;
    // Set while this generator closes its stream, until the close arrives,
    // so a late done notification cannot finish the stream twice.
    bool m_closing = false;
    TMidiCalls m_calls;
    std::unique_ptr<platform::NotifyWindow> m_notifyWindow;
};
