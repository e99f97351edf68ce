#include "app/sound/UCWaveIn.h"

UCWaveIn::UCWaveIn(QWidget* parent) : QWidget(parent) {
    setFixedSize(0, 0);
    hide();
}

std::int32_t UCWaveIn::GetVolume() {
    return 0;
}
