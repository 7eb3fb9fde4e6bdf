#pragma once

#include <QWidget>

class TMidiGen;

namespace designer {

// The MIDI generator on a form in Qt Designer. The generator is not a
// widget, so Designer shows this small box in its place; its properties
// are the generator's, read and written through to a TMidiGen it owns.
// Designer lists only statically declared properties, so the generator's
// stored ones are declared again here, in its order; the designer plugin's
// tests keep the two lists equal.
// While designing, out-of-range values are reported with the generator's
// own message box before they are clamped; elsewhere (a form loaded by
// QUiLoader) the box stays hidden and values are clamped silently.
class TMidiGenComponent : public QWidget
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
    Q_PROPERTY(int Note READ Note WRITE setNote)
    Q_PROPERTY(int Octave READ Octave WRITE setOctave)
    Q_PROPERTY(int Instrument READ Instrument WRITE setInstrument)
    Q_PROPERTY(int Channel READ Channel WRITE setChannel)
    Q_PROPERTY(uint Loops READ Loops WRITE setLoops)

public:
    TMidiGenComponent(QWidget *parent, bool designing);

    TMidiGen &MidiGen() const { return *m_gen; }

    int Volume() const;
    void setVolume(int value);
    int Pan() const;
    void setPan(int value);
    int Reverb() const;
    void setReverb(int value);
    int Chorus() const;
    void setChorus(int value);
    bool Sustain() const;
    void setSustain(bool value);
    int Modulation() const;
    void setModulation(int value);
    int PitchBend() const;
    void setPitchBend(int value);
    int PBDelay() const;
    void setPBDelay(int value);
    int PBDuration() const;
    void setPBDuration(int value);
    uint Duration() const;
    void setDuration(uint value);
    int Note() const;
    void setNote(int value);
    int Octave() const;
    void setOctave(int value);
    int Instrument() const;
    void setInstrument(int value);
    int Channel() const;
    void setChannel(int value);
    uint Loops() const;
    void setLoops(uint value);

    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TMidiGen *m_gen; // child
};

} // namespace designer
