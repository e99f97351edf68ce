#pragma once

#include "platform/com/ServerModule.h"

/// The server module of libpixload: class KaleidPixload and type library PIXLOADLib.
ServerModule& PixloadModule();
