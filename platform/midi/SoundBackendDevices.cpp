// The entry point of the sound library (see SoundBackend.h): the devices
// that play through FluidSynth and the ALSA sequencer.
#include "SoundBackend.h"

#include "AlsaSeqDevice.h"
#include "FluidSynthDevice.h"

using namespace platform::midi;

extern "C" Q_DECL_EXPORT void tonvikSoundBackendDevices(const QString &choice, SoundDevices &devices)
{
    const QString lower = choice.toLower();
    const bool alsaOnly = lower == QLatin1String("alsa") || lower.startsWith(QLatin1String("alsa:"));
    if (!alsaOnly) {
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        // In auto mode the synthesizer is offered only when it has a
        // SoundFont; asked for by name it is always there (and fails to
        // open with a reason when it cannot play).
        if (lower == QLatin1String("fluidsynth") || FluidSynthDevice::soundFontExists(options.soundFont))
            devices.push_back(std::make_shared<FluidSynthDevice>(options));
        if (lower == QLatin1String("fluidsynth"))
            return;
    }
    const QString filter = lower.startsWith(QLatin1String("alsa:")) ? choice.mid(5) : QString();
    for (const AlsaSeqDevice::Port &port : AlsaSeqDevice::ports())
        if (filter.isEmpty() || port.name.contains(filter, Qt::CaseInsensitive))
            devices.push_back(std::make_shared<AlsaSeqDevice>(port));
}
