#include "platform/wave/WaveInDevices.h"

#include "platform/wave/QtWaveInDevice.h"
#include "platform/wave/VirtualWaveInDevice.h"
#include "platform/wave/WaveInEvent.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kMaxNameBytes = 31;
/// How long a real stream needs after stopping before the process may end.
constexpr qint64 kSettleMilliseconds = 100;

void CopyName(const std::string& name, WAVEINCAPS& caps) {
    std::size_t length = std::min(name.size(), kMaxNameBytes);
    while (length > 0 && length < name.size() &&
           (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memset(caps.szPname, 0, sizeof caps.szPname);
    std::memcpy(caps.szPname, name.data(), length);
}

/// The real inputs; none without a Qt application (Qt Multimedia needs one).
QList<QAudioDevice> RealInputs() {
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    return QMediaDevices::audioInputs();
}

} // namespace

WaveInDevices& WaveInDevices::Instance() {
    static WaveInDevices* devices = [] {
        auto* made = new WaveInDevices();
        // Open devices must not outlive the application object: close them while Qt is
        // still there.
        qAddPostRoutine([] { WaveInDevices::Instance().Shutdown(); });
        return made;
    }();
    return *devices;
}

WaveInDevices::WaveInDevices() = default;

WaveInDevices::~WaveInDevices() = default;

void WaveInDevices::LoadVirtual() {
    loaded_ = true;
    virtual_.reset();
    const char* spec = std::getenv("TAVSIM_WAVE_INPUTS");
    if (spec == nullptr) {
        return;
    }
    std::vector<std::string> errors;
    std::vector<VirtualInput> inputs = VirtualInput::ParseList(spec, &errors);
    for (const std::string& error : errors) {
        std::fprintf(stderr, "%s\n", error.c_str());
    }
    virtual_.emplace();
    for (VirtualInput& input : inputs) {
        virtual_->push_back(std::make_shared<const VirtualInput>(std::move(input)));
    }
}

void WaveInDevices::Reload() {
    LoadVirtual();
}

bool WaveInDevices::Virtual() {
    if (!loaded_) {
        LoadVirtual();
    }
    return virtual_.has_value();
}

std::uint32_t WaveInDevices::Count() {
    if (Virtual()) {
        return static_cast<std::uint32_t>(virtual_->size());
    }
    return static_cast<std::uint32_t>(RealInputs().size());
}

std::optional<std::uint32_t> WaveInDevices::Resolve(std::uint32_t id) {
    if (id != WAVE_MAPPER) {
        return id < Count() ? std::optional<std::uint32_t>(id) : std::nullopt;
    }
    if (Virtual()) {
        return virtual_->empty() ? std::nullopt : std::optional<std::uint32_t>(0);
    }
    const QList<QAudioDevice> inputs = RealInputs();
    const QAudioDevice preferred = QMediaDevices::defaultAudioInput();
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        if (inputs[i] == preferred) {
            return static_cast<std::uint32_t>(i);
        }
    }
    return inputs.empty() ? std::nullopt : std::optional<std::uint32_t>(0);
}

bool WaveInDevices::Caps(std::uint32_t id, WAVEINCAPS& caps) {
    const std::optional<std::uint32_t> device = Resolve(id);
    if (!device) {
        return false;
    }
    caps = WAVEINCAPS{};
    caps.wChannels = 1;
    if (Virtual()) {
        const VirtualInput& input = *(*virtual_)[*device];
        CopyName(input.name, caps);
        caps.dwFormats = input.kind == VirtualInput::Kind::NoFormat ? 0 : WAVE_FORMAT_4M08;
        return true;
    }
    const QList<QAudioDevice> inputs = RealInputs();
    if (*device >= static_cast<std::size_t>(inputs.size())) {
        return false;
    }
    const QAudioDevice& input = inputs[*device];
    CopyName(input.description().toStdString(), caps);
    caps.dwFormats = QtWaveInDevice::CaptureFormat(input).isValid() ? WAVE_FORMAT_4M08 : 0;
    return true;
}

MMRESULT WaveInDevices::Open(HWAVEIN* handle, std::uint32_t id, QObject* target) {
    const std::optional<std::uint32_t> device = Resolve(id);
    if (!device) {
        return id == WAVE_MAPPER ? MMSYSERR_NODRIVER : MMSYSERR_BADDEVICEID;
    }
    const HWAVEIN made = reinterpret_cast<HWAVEIN>(++lastHandle_);
    std::unique_ptr<WaveInDevice> opened;
    if (Virtual()) {
        std::shared_ptr<const VirtualInput> input = (*virtual_)[*device];
        if (input->kind == VirtualInput::Kind::NoFormat) {
            return WAVERR_BADFORMAT;
        }
        opened =
            std::make_unique<VirtualWaveInDevice>(made, *device, target, std::move(input), byHand_);
    } else {
        const QList<QAudioDevice> inputs = RealInputs();
        if (*device >= static_cast<std::size_t>(inputs.size())) {
            return MMSYSERR_BADDEVICEID;
        }
        const QAudioFormat format = QtWaveInDevice::CaptureFormat(inputs[*device]);
        if (!format.isValid()) {
            return WAVERR_BADFORMAT;
        }
        opened = std::make_unique<QtWaveInDevice>(made, *device, target, inputs[*device], format);
    }
    opened->Notify(WaveInEvent::MM_WIM_OPEN, nullptr);
    *handle = made;
    open_.emplace(made, std::move(opened));
    return MMSYSERR_NOERROR;
}

WaveInDevice* WaveInDevices::Find(HWAVEIN handle) const {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : it->second.get();
}

MMRESULT WaveInDevices::Close(HWAVEIN handle) {
    const auto it = open_.find(handle);
    if (it == open_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT result = it->second->Close();
    if (result != MMSYSERR_NOERROR) {
        return result;
    }
    it->second->Notify(WaveInEvent::MM_WIM_CLOSE, nullptr);
    open_.erase(it);
    return MMSYSERR_NOERROR;
}

int WaveInDevices::Step(std::uint32_t id) {
    int completed = 0;
    for (auto& [handle, device] : open_) {
        if (device->DeviceId() == id && device->Step()) {
            ++completed;
        }
    }
    return completed;
}

int WaveInDevices::Feed(std::uint32_t id, std::span<const std::uint8_t> bytes, bool complete) {
    int fed = 0;
    for (auto& [handle, device] : open_) {
        if (device->DeviceId() == id && device->Feed(bytes, complete)) {
            ++fed;
        }
    }
    return fed;
}

std::vector<const WAVEHDR*> WaveInDevices::Queue(std::uint32_t id) const {
    for (const auto& [handle, device] : open_) {
        if (device->DeviceId() == id) {
            return device->Queue();
        }
    }
    return {};
}

void WaveInDevices::InjectFailure(Call call, int pass, MMRESULT result) {
    injections_.push_back({call, pass, result});
}

MMRESULT WaveInDevices::Injected(Call call) {
    for (auto it = injections_.begin(); it != injections_.end(); ++it) {
        if (it->call == call) {
            if (it->pass-- > 0) {
                return MMSYSERR_NOERROR;
            }
            const MMRESULT result = it->result;
            injections_.erase(it);
            return result;
        }
    }
    return MMSYSERR_NOERROR;
}

void WaveInDevices::NoteStreamStopped() {
    sinceStreamStopped_.start();
}

void WaveInDevices::Shutdown() {
    while (!open_.empty()) {
        const auto it = open_.begin();
        it->second->Reset();
        it->second->Close();
        open_.erase(it);
    }
    if (!sinceStreamStopped_.isValid()) {
        return;
    }
    while (sinceStreamStopped_.elapsed() < kSettleMilliseconds) {
        if (QCoreApplication::instance() != nullptr && !QCoreApplication::closingDown()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        } else {
            QThread::msleep(5);
        }
    }
    sinceStreamStopped_.invalidate();
}
