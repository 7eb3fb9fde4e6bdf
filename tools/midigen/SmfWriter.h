#pragma once

#include "midigen/StreamBuilder.h"

#include <QByteArray>
#include <vector>

// Writes stream events as a Standard MIDI File: format 0, one track, the
// stream's time division of 50 ticks per quarter note and its tempo of
// 500,000 us per quarter note, so one tick stays 10 ms.
class SmfWriter
{
public:
    static constexpr int TicksPerQuarterNote = 50;
    static constexpr int MicrosecondsPerQuarterNote = 500000;

    static QByteArray Write(const std::vector<TStreamEvent> &events);
};
