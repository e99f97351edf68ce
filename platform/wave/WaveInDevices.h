#pragma once
// The wave-input devices of the process: the real sound inputs (Qt Multimedia), or, when the
// environment variable TAVSIM_WAVE_INPUTS is set, only the virtual inputs it names (see
// VirtualInput), in the order given. Entries that cannot be used are reported once on
// stderr and left out. Also the open devices, by handle, and the hooks that tests step
// virtual inputs with.
//
// Used from the user-interface thread only.

#include "platform/wave/VirtualInput.h"
#include "platform/wave/WaveInTypes.h"

#include <QElapsedTimer>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QObject;
class WaveInDevice;

class WaveInDevices {
public:
    static WaveInDevices& Instance();

    /// Reads TAVSIM_WAVE_INPUTS again (its errors are reported again). Open devices stay.
    void Reload();
    /// Whether the devices are virtual ones (TAVSIM_WAVE_INPUTS is set).
    bool Virtual();

    std::uint32_t Count();
    /// The capabilities of device `id` (WAVE_MAPPER: the default input); false when there is
    /// no such device.
    bool Caps(std::uint32_t id, WAVEINCAPS& caps);
    MMRESULT Open(HWAVEIN* handle, std::uint32_t id, QObject* target);
    /// The open device of `handle`, or null.
    WaveInDevice* Find(HWAVEIN handle) const;
    /// Closes and forgets an open device. WAVERR_STILLPLAYING (and it stays open) while
    /// buffers are queued.
    MMRESULT Close(HWAVEIN handle);
    std::size_t OpenCount() const { return open_.size(); }

    /// With true, virtual inputs opened from now on make sound only when stepped or fed.
    void SetStepByHand(bool byHand) { byHand_ = byHand; }
    /// Fills and completes the current buffer of every started device open on `id` from its
    /// input; returns how many buffers were completed.
    int Step(std::uint32_t id);
    /// Completes the current buffer of every started device open on `id` with exactly
    /// `bytes` (at most the buffer's length; none gives a buffer with nothing recorded).
    /// With `complete` false the bytes are added to what the buffers hold instead, completing
    /// only those that become full. Returns how many devices took the bytes.
    int Feed(std::uint32_t id, std::span<const std::uint8_t> bytes, bool complete = true);
    /// The queued buffers of the first device open on `id`, the one being filled first.
    std::vector<const WAVEHDR*> Queue(std::uint32_t id) const;

    /// The calls a test can make fail.
    enum class Call { PrepareHeader, UnprepareHeader, AddBuffer, Start };
    /// Makes the call after the next `pass` calls of kind `call` fail with `result` (once).
    void InjectFailure(Call call, int pass, MMRESULT result);
    /// The injected result for this call, or MMSYSERR_NOERROR; counts the call.
    MMRESULT Injected(Call call);

    /// Called by real devices when they stop a stream.
    void NoteStreamStopped();
    /// Closes every device that is still open (returning its buffers) and, when a real
    /// stream stopped less than 100 ms ago, lets the event loop run out the rest, so that
    /// the sound system winds down before the process ends.
    void Shutdown();

private:
    WaveInDevices();
    ~WaveInDevices();
    void LoadVirtual();
    /// WAVE_MAPPER resolved to the default device; nullopt when there is none.
    std::optional<std::uint32_t> Resolve(std::uint32_t id);

    std::optional<std::vector<std::shared_ptr<const VirtualInput>>> virtual_;
    bool loaded_ = false;
    bool byHand_ = false;
    std::uintptr_t lastHandle_ = 0;
    std::map<HWAVEIN, std::unique_ptr<WaveInDevice>> open_;
    QElapsedTimer sinceStreamStopped_;
    struct Injection {
        Call call;
        int pass;
        MMRESULT result;
    };
    std::vector<Injection> injections_;
};
