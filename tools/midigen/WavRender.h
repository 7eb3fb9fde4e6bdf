#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// Renders a stream buffer through the built-in synthesizer into a WAV file
// (44,100 Hz, 16-bit stereo), faster than real time, until the sound has
// died away. False with an error text on failure.
bool renderWav(const std::vector<uint8_t> &buffer, const QString &path, QString *error);
