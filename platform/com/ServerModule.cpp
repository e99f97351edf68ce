#include "platform/com/ServerModule.h"

#include "platform/com/ClassFactory.h"
#include "platform/com/Registrar.h"
#include "platform/registry/RegistryBatch.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

std::string LibraryPathOf(const void* anchor) {
    Dl_info info{};
    if (anchor == nullptr || dladdr(anchor, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) != nullptr) {
        return resolved;
    }
    return info.dli_fname;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

ServerModule::ServerModule(std::vector<ClassEntry> classes, const TypeLibInfo* typeLib,
                           const void* anchor)
    : classes_(std::move(classes)), typeLib_(typeLib), path_(LibraryPathOf(anchor)),
      factories_(classes_.size()) {}

ServerModule::~ServerModule() = default;

HRESULT ServerModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].clsid == clsid) {
            std::lock_guard lock(mutex_);
            if (!factories_[i]) {
                factories_[i] = ComPtr<IClassFactory>::Attach(new ClassFactory(classes_[i], *this));
            }
            return factories_[i]->QueryInterface(riid, ppv);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerModule::CanUnloadNow() const {
    return locks_.load() == 0 ? S_OK : S_FALSE;
}

std::int32_t ServerModule::Lock() {
    return ++locks_;
}

std::int32_t ServerModule::Unlock() {
    return --locks_;
}

HRESULT ServerModule::Fail(HRESULT hr, std::string message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::lock_guard lock(mutex_);
    lastError_ = std::move(message);
    return hr;
}

std::string ServerModule::LastError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

HRESULT ServerModule::RegisterServer() {
    if (path_.empty()) {
        return Fail(SELFREG_E_CLASS, "Registreren mislukt: het bestand van de bibliotheek is "
                                     "niet te bepalen");
    }
    {
        std::lock_guard lock(mutex_);
        lastError_.clear();
    }
    RegistryBatch batch(Registry::Instance());
    for (const ClassEntry& entry : classes_) {
        Registrar registrar;
        registrar.AddReplacement("MODULE", path_);
        const HRESULT hr = registrar.Register(entry.registryScript);
        if (FAILED(hr)) {
            const RegistryStatus saved = batch.Commit();
            return Fail(hr, "Registreren van " + std::string(entry.description) + " uit " + path_ +
                                " mislukt: " + registrar.LastError() +
                                (saved ? "" : "; " + saved.message));
        }
    }
    if (typeLib_ != nullptr) {
        std::string error;
        const HRESULT hr = typeLib_->Register(path_, &error);
        if (FAILED(hr)) {
            const RegistryStatus saved = batch.Commit();
            return Fail(hr, error + (saved ? "" : "; " + saved.message));
        }
    }
    if (const RegistryStatus saved = batch.Commit(); !saved) {
        return Fail(E_ACCESSDENIED, "Registreren van " + path_ + " mislukt: " + saved.message);
    }
    return S_OK;
}

HRESULT ServerModule::UnregisterServer() {
    {
        std::lock_guard lock(mutex_);
        lastError_.clear();
    }
    RegistryBatch batch(Registry::Instance());
    HRESULT result = S_OK;
    std::string message;
    for (const ClassEntry& entry : classes_) {
        Registrar registrar;
        registrar.AddReplacement("MODULE", path_);
        const HRESULT hr = registrar.Unregister(entry.registryScript);
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
            message = "Uitschrijven van " + std::string(entry.description) + " uit " + path_ +
                      " mislukt: " + registrar.LastError();
        }
    }
    if (const RegistryStatus saved = batch.Commit(); !saved && SUCCEEDED(result)) {
        result = E_ACCESSDENIED;
        message = "Uitschrijven van " + path_ + " mislukt: " + saved.message;
    }
    return FAILED(result) ? Fail(result, std::move(message)) : S_OK;
}

HRESULT ServerModule::ClassFromProgID(std::string_view progId, CLSID* clsid) const {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    for (const ClassEntry& entry : classes_) {
        if (!progId.empty() && (SameIgnoringCase(entry.progId, progId) ||
                                SameIgnoringCase(entry.versionIndependentProgId, progId))) {
            *clsid = entry.clsid;
            return S_OK;
        }
    }
    return CO_E_CLASSSTRING;
}
