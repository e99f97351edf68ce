#include "wave_capture/WavGrab2Module.h"

#include "platform/com/ServerExports.h"
#include "wave_capture/CTheWaveIn.h"
#include "wave_capture/CVolWaveIn.h"

/// TheWaveIn2.rgs and VolWaveIn.rgs, compiled in at build time.
extern const char kTheWaveIn2Rgs[];
extern const char kVolWaveInRgs[];

ServerModule& WavGrab2Module() {
    static const TypeLibInfo typeLib{
        LIBID_WavGrab2Lib,
        "WavGrab2Lib",
        "WavGrab2 1.0 Type Library",
        1,
        0,
        {{IID_ITheWaveIn2, "ITheWaveIn2"}, {IID_IVolWaveIn, "IVolWaveIn"}}};
    static const char anchor = 0;
    static ServerModule module(
        {ClassEntry{CLSID_TheWaveIn2, "WavGrab2Lib.TheWaveIn2.1", "WavGrab2Lib.TheWaveIn2",
                    "TheWaveIn2 Class", kTheWaveIn2Rgs, &CTheWaveIn::Create},
         ClassEntry{CLSID_VolWaveIn, "VolWaveIn.VolWaveIn.1", "VolWaveIn.VolWaveIn",
                    "VolWaveIn Class", kVolWaveInRgs, &CVolWaveIn::Create}},
        &typeLib, &anchor);
    return module;
}

TAVSIM_SERVER_EXPORTS(WavGrab2Module)
