#pragma once

#include "platform/com/ServerModule.h"

/// The server module of libWavGrab2: classes TheWaveIn2 and VolWaveIn, type library
/// WavGrab2Lib.
ServerModule& WavGrab2Module();
