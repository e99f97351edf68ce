#pragma once
// The frame of an in-process component library: its class table and type library, the
// lock count that says whether it may be unloaded, the class factories, self-registration
// from registry scripts, and the library's own file path.
//
// A library makes one ServerModule, reachable through an accessor function with a name of
// its own (two libraries loaded together must not share the name), and defines its exports
// with TAVSIM_SERVER_EXPORTS (ServerExports.h):
//
//   ServerModule& PixloadModule() {
//       static const char anchor = 0;
//       static ServerModule module({kClasses}, &kTypeLib, &anchor);
//       return module;
//   }
//   TAVSIM_SERVER_EXPORTS(PixloadModule)
//
// Each live object holds a ServerModule::ObjectLock, so the module counts it.

#include "platform/com/ClassEntry.h"
#include "platform/com/ComPtr.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/TypeLibInfo.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class ServerModule {
public:
    /// `anchor` is the address of anything inside the library (a static of its own); it
    /// tells the module which file it is. `typeLib` may be null; it must outlive the module.
    ServerModule(std::vector<ClassEntry> classes, const TypeLibInfo* typeLib, const void* anchor);
    /// Releases the class factories.
    ~ServerModule();
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;

    /// The class factory of `clsid` (made on first request, under the module's lock), as
    /// interface riid. E_POINTER without ppv; CLASS_E_CLASSNOTAVAILABLE for a class not in
    /// the table; E_NOINTERFACE for an interface other than IUnknown and IClassFactory.
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
    /// S_OK when no object and no server lock remains, otherwise S_FALSE.
    HRESULT CanUnloadNow() const;
    /// Runs every class's registry script in registering mode, in table order, with
    /// %MODULE% replaced by ModulePath(); then registers the type library. Stops at the
    /// first failure and returns it (classes before it stay registered); S_OK otherwise.
    /// The registry is saved once, at the end.
    HRESULT RegisterServer();
    /// Runs every class's registry script in unregistering mode; the type library stays
    /// registered. S_OK, also when nothing was registered; a failure only when a script is
    /// unreadable or the registry cannot be saved.
    HRESULT UnregisterServer();
    /// The class of the table with this ProgID (versioned or version-independent, without
    /// regard to case). E_POINTER without clsid; CO_E_CLASSSTRING when none has it.
    HRESULT ClassFromProgID(std::string_view progId, CLSID* clsid) const;

    /// Adds one to the lock count; returns the new count.
    std::int32_t Lock();
    /// Takes one from the lock count; returns the new count.
    std::int32_t Unlock();
    std::int32_t LockCount() const { return locks_.load(); }

    /// Full path of the library file; empty when it could not be found out.
    const std::string& ModulePath() const { return path_; }
    const std::vector<ClassEntry>& Classes() const { return classes_; }
    /// What the last failed registration or unregistration said, or empty.
    std::string LastError() const;

    /// Counts an object of the module for its lifetime.
    class ObjectLock {
    public:
        explicit ObjectLock(ServerModule& module) : module_(module) { module_.Lock(); }
        ~ObjectLock() { module_.Unlock(); }
        ObjectLock(const ObjectLock&) = delete;
        ObjectLock& operator=(const ObjectLock&) = delete;

    private:
        ServerModule& module_;
    };

private:
    HRESULT Fail(HRESULT hr, std::string message);

    std::vector<ClassEntry> classes_;
    const TypeLibInfo* typeLib_;
    std::string path_;
    std::atomic<std::int32_t> locks_{0};
    mutable std::mutex mutex_;
    std::vector<ComPtr<IClassFactory>> factories_;
    std::string lastError_;
};
