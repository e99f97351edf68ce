#pragma once

#include "platform/registry/Registry.h"

/// Holds a batch open on a registry for its lifetime, so that a series of changes is saved
/// once. Call Commit() to learn whether that save worked; a batch left without Commit()
/// still saves and writes a failure to stderr.
class RegistryBatch {
public:
    explicit RegistryBatch(Registry& registry);
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    /// Closes the batch; for the outermost batch, the result of saving. Only the first call
    /// closes it; later calls return Ok.
    RegistryStatus Commit();

private:
    Registry& registry_;
    bool open_ = true;
};
