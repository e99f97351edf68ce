#include "bitmap_loader/PixloadModule.h"

#include "bitmap_loader/CKaleidPixload.h"
#include "platform/com/ServerExports.h"

/// KaleidPixload.rgs, compiled in at build time.
extern const char kKaleidPixloadRgs[];

ServerModule& PixloadModule() {
    static const TypeLibInfo typeLib{LIBID_PIXLOADLib,
                                     "PIXLOADLib",
                                     "pixload 1.0 Type Library",
                                     1,
                                     0,
                                     {{IID_IKaleidPixload, "IKaleidPixload"}}};
    static const char anchor = 0;
    static ServerModule module({ClassEntry{CLSID_KaleidPixload, "KaleidPixload.KaleidPixload.1",
                                           "KaleidPixload.KaleidPixload", "KaleidPixload Class",
                                           kKaleidPixloadRgs, &CKaleidPixload::Create}},
                               &typeLib, &anchor);
    return module;
}

TAVSIM_SERVER_EXPORTS(PixloadModule)
TAVSIM_SERVER_CLASSES("{20FA4677-FEE0-11D5-B550-D1D72E725270} KaleidPixload.KaleidPixload.1 "
                      "KaleidPixload.KaleidPixload\n")
