#include "MidiDeviceList.h"

#include "AlsaSeqDevice.h"
#include "CaptureDevice.h"
#include "FluidSynthDevice.h"

namespace platform::midi {

MidiDeviceList &MidiDeviceList::instance()
{
    static MidiDeviceList list;
    return list;
}

void MidiDeviceList::buildFromEnvironment()
{
    m_devices.clear();
    m_installed.reset();
    const QString choice = qEnvironmentVariable("TONVIK_MIDI_OUT", QStringLiteral("auto")).trimmed();
    const QString lower = choice.toLower();
    if (lower == QLatin1String("none"))
        return;
    if (lower == QLatin1String("capture")) {
        m_installed = std::make_shared<CaptureDevice>();
        m_devices.push_back(m_installed);
        return;
    }
    const bool alsaOnly = lower == QLatin1String("alsa") || lower.startsWith(QLatin1String("alsa:"));
    if (!alsaOnly) {
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        // In auto mode the synthesizer is offered only when it has a
        // SoundFont; asked for by name it is always there (and fails to
        // open with a reason when it cannot play).
        if (lower == QLatin1String("fluidsynth") || FluidSynthDevice::soundFontExists(options.soundFont))
            m_devices.push_back(std::make_shared<FluidSynthDevice>(options));
        if (lower == QLatin1String("fluidsynth"))
            return;
    }
    const QString filter = lower.startsWith(QLatin1String("alsa:")) ? choice.mid(5) : QString();
    for (const AlsaSeqDevice::Port &port : AlsaSeqDevice::ports())
        if (filter.isEmpty() || port.name.contains(filter, Qt::CaseInsensitive))
            m_devices.push_back(std::make_shared<AlsaSeqDevice>(port));
}

std::vector<std::shared_ptr<MidiDevice>> MidiDeviceList::devices()
{
    std::lock_guard lock(m_mutex);
    if (!m_built) {
        buildFromEnvironment();
        m_built = true;
    }
    return m_devices;
}

unsigned MidiDeviceList::count()
{
    return unsigned(devices().size());
}

QString MidiDeviceList::deviceName(int deviceId)
{
    const auto list = devices();
    if (deviceId < 0 || size_t(deviceId) >= list.size())
        return {};
    return list[size_t(deviceId)]->name();
}

std::shared_ptr<MidiDevice> MidiDeviceList::open(int deviceId, MMRESULT *error)
{
    const auto list = devices();
    if (deviceId == MIDI_MAPPER) {
        for (const auto &device : list)
            if (device->acquire()) {
                *error = MMSYSERR_NOERROR;
                return device;
            }
        *error = MMSYSERR_NODRIVER;
        return nullptr;
    }
    if (deviceId < 0 || size_t(deviceId) >= list.size()) {
        *error = MMSYSERR_BADDEVICEID;
        return nullptr;
    }
    const auto &device = list[size_t(deviceId)];
    if (!device->acquire()) {
        *error = MMSYSERR_NODRIVER;
        return nullptr;
    }
    *error = MMSYSERR_NOERROR;
    return device;
}

void MidiDeviceList::preload()
{
    const auto list = devices();
    if (!list.empty())
        list.front()->preload();
}

void MidiDeviceList::install(std::shared_ptr<MidiDevice> device)
{
    std::lock_guard lock(m_mutex);
    if (device) {
        m_devices = {device};
        m_installed = std::move(device);
        m_built = true;
    } else {
        m_built = false;
        m_installed.reset();
        m_devices.clear();
    }
}

std::shared_ptr<MidiDevice> MidiDeviceList::installed()
{
    devices();
    std::lock_guard lock(m_mutex);
    return m_installed;
}

} // namespace platform::midi
