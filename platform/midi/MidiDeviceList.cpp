#include "MidiDeviceList.h"

#include "CaptureDevice.h"
#include "SoundBackend.h"

#include <QDebug>

namespace platform::midi {

MidiDeviceList &MidiDeviceList::instance()
{
    static MidiDeviceList list;
    return list;
}

MidiDeviceList::~MidiDeviceList()
{
    if (m_loader.joinable())
        m_loader.join();
}

std::vector<std::shared_ptr<MidiDevice>> MidiDeviceList::buildFromEnvironment(std::shared_ptr<MidiDevice> *installed)
{
    std::vector<std::shared_ptr<MidiDevice>> devices;
    const QString choice = qEnvironmentVariable("TONVIK_MIDI_OUT", QStringLiteral("auto")).trimmed();
    const QString lower = choice.toLower();
    if (lower == QLatin1String("none"))
        return devices;
    if (lower == QLatin1String("capture")) {
        *installed = std::make_shared<CaptureDevice>();
        devices.push_back(*installed);
        return devices;
    }
    QString error;
    if (const SoundBackendEntry entry = loadSoundBackend(&error))
        entry(choice, devices);
    else
        qWarning().noquote() << error; // no devices: opening one reports MMSYSERR_NODRIVER
    return devices;
}

void MidiDeviceList::ensureBuilt(std::unique_lock<std::mutex> &lock)
{
    if (m_state == State::Unbuilt) {
        m_state = State::Building;
        lock.unlock();
        std::shared_ptr<MidiDevice> installed;
        auto devices = buildFromEnvironment(&installed);
        lock.lock();
        m_devices = std::move(devices);
        m_installed = std::move(installed);
        m_state = State::Built;
        m_builtChanged.notify_all();
    }
    m_builtChanged.wait(lock, [this] { return m_state == State::Built; });
}

std::vector<std::shared_ptr<MidiDevice>> MidiDeviceList::devices()
{
    std::unique_lock lock(m_mutex);
    ensureBuilt(lock);
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
    std::thread previous;
    {
        std::lock_guard lock(m_mutex);
        if (m_state != State::Unbuilt)
            return;
        // The loader of a list since withdrawn (install(nullptr)) is joined
        // outside the lock: it may not have taken it yet.
        previous = std::move(m_loader);
        m_loader = std::thread([this] {
            std::unique_lock lock(m_mutex);
            ensureBuilt(lock);
            const auto list = m_devices;
            lock.unlock();
            if (!list.empty())
                list.front()->preload();
        });
    }
    if (previous.joinable())
        previous.join();
}

void MidiDeviceList::install(std::shared_ptr<MidiDevice> device)
{
    std::unique_lock lock(m_mutex);
    // A list being built in the background is finished first, so it cannot
    // overwrite the one installed here.
    m_builtChanged.wait(lock, [this] { return m_state != State::Building; });
    if (device) {
        m_devices = {device};
        m_installed = std::move(device);
        m_state = State::Built;
    } else {
        m_state = State::Unbuilt;
        m_installed.reset();
        m_devices.clear();
    }
}

std::shared_ptr<MidiDevice> MidiDeviceList::installed()
{
    std::unique_lock lock(m_mutex);
    ensureBuilt(lock);
    return m_installed;
}

} // namespace platform::midi
