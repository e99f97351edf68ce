#include "platform/registry/RegistryBatch.h"

#include <cstdio>

RegistryBatch::RegistryBatch(Registry& registry) : registry_(registry) {
    registry_.BeginBatch();
}

RegistryBatch::~RegistryBatch() {
    const RegistryStatus status = Commit();
    if (!status) {
        std::fprintf(stderr, "%s\n", status.message.c_str());
    }
}

RegistryStatus RegistryBatch::Commit() {
    if (!open_) {
        return {};
    }
    open_ = false;
    return registry_.EndBatch();
}
