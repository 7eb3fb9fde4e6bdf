#include "TMidiGenComponent.h"

#include "DesignerIcons.h"

#include "midigen/TMidiGen.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace designer {

TMidiGenComponent::TMidiGenComponent(QWidget *parent, bool designing)
    : QWidget(parent)
    , m_gen(new TMidiGen(this))
{
    m_gen->setDesignMode(designing);
    setFixedSize(sizeHint());
    if (!designing)
        hide(); // non-visual at run time
}

int TMidiGenComponent::Volume() const { return m_gen->Volume(); }
void TMidiGenComponent::setVolume(int value) { m_gen->setVolume(value); }
int TMidiGenComponent::Pan() const { return m_gen->Pan(); }
void TMidiGenComponent::setPan(int value) { m_gen->setPan(value); }
int TMidiGenComponent::Reverb() const { return m_gen->Reverb(); }
void TMidiGenComponent::setReverb(int value) { m_gen->setReverb(value); }
int TMidiGenComponent::Chorus() const { return m_gen->Chorus(); }
void TMidiGenComponent::setChorus(int value) { m_gen->setChorus(value); }
bool TMidiGenComponent::Sustain() const { return m_gen->Sustain(); }
void TMidiGenComponent::setSustain(bool value) { m_gen->setSustain(value); }
int TMidiGenComponent::Modulation() const { return m_gen->Modulation(); }
void TMidiGenComponent::setModulation(int value) { m_gen->setModulation(value); }
int TMidiGenComponent::PitchBend() const { return m_gen->PitchBend(); }
void TMidiGenComponent::setPitchBend(int value) { m_gen->setPitchBend(value); }
int TMidiGenComponent::PBDelay() const { return m_gen->PBDelay(); }
void TMidiGenComponent::setPBDelay(int value) { m_gen->setPBDelay(value); }
int TMidiGenComponent::PBDuration() const { return m_gen->PBDuration(); }
void TMidiGenComponent::setPBDuration(int value) { m_gen->setPBDuration(value); }
uint TMidiGenComponent::Duration() const { return m_gen->Duration(); }
void TMidiGenComponent::setDuration(uint value) { m_gen->setDuration(value); }
int TMidiGenComponent::Note() const { return m_gen->Note(); }
void TMidiGenComponent::setNote(int value) { m_gen->setNote(TMGNote(value)); }
int TMidiGenComponent::Octave() const { return m_gen->Octave(); }
void TMidiGenComponent::setOctave(int value) { m_gen->setOctave(value); }
int TMidiGenComponent::Instrument() const { return m_gen->Instrument(); }
void TMidiGenComponent::setInstrument(int value) { m_gen->setInstrument(TMGInstrument(value)); }
int TMidiGenComponent::Channel() const { return m_gen->Channel(); }
void TMidiGenComponent::setChannel(int value) { m_gen->setChannel(TMGChannel(value)); }
uint TMidiGenComponent::Loops() const { return m_gen->Loops(); }
void TMidiGenComponent::setLoops(uint value) { m_gen->setLoops(value); }

void TMidiGenComponent::paintEvent(QPaintEvent *)
{
    // A raised button face with the component's icon, as form designers
    // show non-visual components.
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Raised;
    painter.fillRect(rect(), palette().button());
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    painter.drawPixmap(inner, MidiGenIcon().pixmap(inner.size()));
}

} // namespace designer
