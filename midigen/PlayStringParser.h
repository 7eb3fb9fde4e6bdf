#pragma once

#include "TimedEvent.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// What the parser reads of its generator.
struct TParserSettings
{
    int Octave = 4;
    uint32_t Duration = 50;
    int Instrument = 0;     // TMGInstrument ordinal
    int PlayChannel = 0;    // 0..15
};

// Turns a play-string into timed events. A play-string is a list of
// segments separated by ","; each segment is "delay;what;length" with
// omitted fields taken from the previous segments. What is "N" + note
// number, "I" + instrument ordinal, or a note name with optional octave.
// The parser never fails: unusable segments add nothing.
class PlayStringParser
{
public:
    explicit PlayStringParser(const TParserSettings &settings) : m_settings(settings) {}

    // Appends the events of text to events, sorts the list and returns the
    // simultaneous flag: True while every delay read is 0 and every length
    // equals the first one (notes that start and end together).
    bool Parse(QStringView text, TTimedEventList &events) const;

    // The semitone above C of a note name ("C", "C#", "D-", ...), looked up
    // in the note-name table; nothing for a name not in it.
    static std::optional<int> NoteSemitone(QStringView name);

    // The platform's integer conversion: optional sign, then decimal digits
    // or a hexadecimal number introduced by "$", "X" or "0X". The whole text
    // must convert and fit 32 bits; nothing otherwise.
    static std::optional<int32_t> ToInteger(QStringView text);

    // The note-name table as the program stores it: two decimal digits (the
    // semitone above C) followed by the name, entry after entry.
    static const char NoteTable[];

private:
    TParserSettings m_settings;
};
