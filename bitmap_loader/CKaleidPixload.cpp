#include "bitmap_loader/CKaleidPixload.h"

#include "bitmap_loader/PixloadModule.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/Prompter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kErrorCaption = "LoadABitmap Error";
constexpr const char* kCreateLookupCaption = "LoadABitmap Invoke CreateBitmap Error";
constexpr const char* kPixelLookupCaption = "LoadABitmap Invoke SetPixelBitmap Error";
constexpr const char* kCreateCaption = "LoadABitmap Kaleid.CreateBitmap(??,] Error";
constexpr const char* kPixelCaption = "LoadABitmap Kaleid.SetPixelBitmap(??,??,??,] Error";
constexpr const char* kCantRead = "can't read file..";
constexpr const char* kBadBitmap = "bad bitmap file..";

/// The file name passes through a conversion buffer of this size, terminator included.
constexpr std::size_t kPathBufferSize = 1024;

// Where the fields of a BMP file lie (file header of 14 bytes, information header of 40).
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::size_t kWidthField = 18;
constexpr std::size_t kHeightField = 22;
constexpr std::size_t kBitsPerPixelField = 28;
constexpr std::size_t kColourTable = 54;
constexpr std::size_t kHeaderSize = 54;

void ShowError(const std::string& text, const char* caption) {
    Prompter::Current().Message(text, caption, Prompter::Buttons::Ok, Prompter::Icon::Error);
}

/// How a failed call is named in its message: the standard name of the codes a caller most
/// likely meets, otherwise the code in lower-case hexadecimal.
std::string CallErrorText(HRESULT hr) {
    switch (hr) {
    case DISP_E_UNKNOWNINTERFACE:
        return "DISP_E_UNKNOWNINTERFACE";
    case DISP_E_MEMBERNOTFOUND:
        return "DISP_E_MEMBERNOTFOUND";
    case DISP_E_PARAMNOTFOUND:
        return "DISP_E_PARAMNOTFOUND";
    case DISP_E_TYPEMISMATCH:
        return "DISP_E_TYPEMISMATCH";
    case DISP_E_NONAMEDARGS:
        return "DISP_E_NONAMEDARGS";
    case DISP_E_BADVARTYPE:
        return "DISP_E_BADVARTYPE";
    case DISP_E_EXCEPTION:
        return "DISP_E_EXCEPTION";
    case DISP_E_OVERFLOW:
        return "DISP_E_OVERFLOW";
    case DISP_E_UNKNOWNLCID:
        return "DISP_E_UNKNOWNLCID";
    case DISP_E_BADPARAMCOUNT:
        return "DISP_E_BADPARAMCOUNT";
    case DISP_E_PARAMNOTOPTIONAL:
        return "DISP_E_PARAMNOTOPTIONAL";
    case E_UNEXPECTED:
        return "E_UNEXPECTED";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(hr));
        return text;
    }
    }
}

/// Reads a whole regular file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    // Non-blocking, so that naming a FIFO cannot hang the caller; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        try {
            bytes.resize(static_cast<std::size_t>(st.st_size));
        } catch (const std::bad_alloc&) {
            ok = false;
        } catch (const std::length_error&) {
            ok = false;
        }
    }
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
        } else if (n == 0) {
            bytes.resize(done); // the file shrank while being read
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

/// What the loader takes from the file.
struct Picture {
    std::uint32_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint64_t stride = 0;
    /// Whether pixels are set at all: 24 or 8 bits and a positive width and height.
    bool hasPixels = false;
};

/// Reads the header and makes sure that every byte the pixel loop will read lies inside the
/// file; false for a file that cannot hold what its header claims.
bool Inspect(const std::vector<std::uint8_t>& file, Picture& picture) {
    if (file.size() < kHeaderSize) {
        return false;
    }
    picture.pixelOffset = U32(file, kPixelOffsetField);
    picture.width = static_cast<std::int32_t>(U32(file, kWidthField));
    picture.height = static_cast<std::int32_t>(U32(file, kHeightField));
    picture.bitsPerPixel =
        static_cast<std::uint16_t>(file[kBitsPerPixelField] | (file[kBitsPerPixelField + 1] << 8));
    const bool loadable = picture.bitsPerPixel == 24 || picture.bitsPerPixel == 8;
    picture.hasPixels = loadable && picture.width > 0 && picture.height > 0;
    if (!picture.hasPixels) {
        return true;
    }
    const std::uint64_t bytesPerPixel = picture.bitsPerPixel / 8;
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(picture.width) * bytesPerPixel;
    picture.stride = (rowBytes + 3) / 4 * 4;
    const std::uint64_t size = file.size();
    if (picture.pixelOffset > size) {
        return false;
    }
    // The last row of the file (the top image row) may lack its padding.
    const std::uint64_t room = size - picture.pixelOffset;
    const std::uint64_t rowsBelowTop = static_cast<std::uint64_t>(picture.height) - 1;
    if (rowBytes > room || rowsBelowTop > (room - rowBytes) / picture.stride) {
        return false;
    }
    if (picture.bitsPerPixel == 8) {
        std::uint8_t highest = 0;
        for (std::uint64_t row = 0; row <= rowsBelowTop; ++row) {
            const std::uint8_t* p = file.data() + picture.pixelOffset + row * picture.stride;
            for (std::uint64_t x = 0; x < rowBytes; ++x) {
                highest = p[x] > highest ? p[x] : highest;
            }
        }
        // Blue, green and red of the highest index used must be in the file.
        if (kColourTable + 4u * highest + 3u > size) {
            return false;
        }
    }
    return true;
}

} // namespace

CKaleidPixload::CKaleidPixload()
    : DispatchObject(IID_IKaleidPixload), moduleLock_(PixloadModule()) {
    AddMember("LoadABitmap", DISPID_LoadABitmap, 2,
              [this](DispatchArgs args, VARIANT* result) -> HRESULT {
                  VARIANT filename;
                  if (FAILED(args[0].ChangeType(filename, VT_BSTR))) {
                      return DISP_E_TYPEMISMATCH;
                  }
                  ComPtr<IDispatch> kaleid;
                  switch (args[1].vt()) {
                  case VT_DISPATCH:
                      kaleid = ComPtr<IDispatch>(args[1].pdispVal());
                      break;
                  case VT_UNKNOWN:
                      if (args[1].punkVal() != nullptr && FAILED(args[1].punkVal()->QueryInterface(
                                                              IID_IDispatch, kaleid.PutVoid()))) {
                          return DISP_E_TYPEMISMATCH;
                      }
                      break;
                  case VT_EMPTY:
                  case VT_NULL:
                      break;
                  default:
                      return DISP_E_TYPEMISMATCH;
                  }
                  std::int32_t bitmap = 0;
                  const HRESULT hr = LoadABitmap(filename.bstrVal(), kaleid.Get(), &bitmap);
                  if (result != nullptr && SUCCEEDED(hr)) {
                      *result = VARIANT::I4(bitmap);
                  }
                  return hr;
              });
}

CKaleidPixload::~CKaleidPixload() = default;

IUnknown* CKaleidPixload::Create() {
    return static_cast<IKaleidPixload*>(new (std::nothrow) CKaleidPixload());
}

HRESULT CKaleidPixload::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IKaleidPixload) {
        *ppv = static_cast<IKaleidPixload*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t CKaleidPixload::AddRef() {
    return DispatchObject::AddRef();
}

std::uint32_t CKaleidPixload::Release() {
    return DispatchObject::Release();
}

HRESULT CKaleidPixload::GetTypeInfoCount(std::uint32_t* pctinfo) {
    return DispatchObject::GetTypeInfoCount(pctinfo);
}

HRESULT CKaleidPixload::GetIDsOfNames(REFIID riid, const char* const* rgszNames,
                                      std::uint32_t cNames, LCID lcid, DISPID* rgDispId) {
    return DispatchObject::GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

HRESULT CKaleidPixload::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                               DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                               std::uint32_t* puArgErr) {
    return DispatchObject::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                  pExcepInfo, puArgErr);
}

HRESULT CKaleidPixload::LoadABitmap(const std::string& filename, IDispatch* Kaleid,
                                    std::int32_t* pResult) {
    if (Kaleid == nullptr) {
        return E_FAIL;
    }
    if (pResult == nullptr) {
        return E_POINTER;
    }
    std::vector<std::uint8_t> file;
    if (filename.size() >= kPathBufferSize || filename.find('\0') != std::string::npos ||
        !ReadWholeFile(filename, file)) {
        ShowError(kCantRead, kErrorCaption);
        return E_FAIL;
    }
    Picture picture;
    if (!Inspect(file, picture)) {
        ShowError(kBadBitmap, kErrorCaption);
        return E_FAIL;
    }

    const char* createName = "CreateBitmap";
    DISPID createId = DISPID_UNKNOWN;
    if (FAILED(Kaleid->GetIDsOfNames(IID_NULL, &createName, 1, LOCALE_USER_DEFAULT, &createId))) {
        ShowError("[1]", kCreateLookupCaption);
        return E_FAIL;
    }
    // One argument array serves every call; rgvarg holds the arguments last one first.
    VARIANT args[4];
    args[1] = VARIANT::I4(picture.width);
    args[0] = VARIANT::I4(picture.height);
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT created;
    EXCEPINFO exception;
    std::uint32_t badArgument = 0;
    HRESULT hr = Kaleid->Invoke(createId, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params,
                                &created, &exception, &badArgument);
    VARIANT number;
    if (SUCCEEDED(hr)) {
        hr = created.ChangeType(number, VT_I4);
    }
    if (FAILED(hr)) {
        ShowError(CallErrorText(hr), kCreateCaption);
        return E_FAIL;
    }
    const std::int32_t bitmap = number.lVal();
    *pResult = bitmap;

    const char* pixelName = "SetPixelBitmap";
    DISPID pixelId = DISPID_UNKNOWN;
    if (FAILED(Kaleid->GetIDsOfNames(IID_NULL, &pixelName, 1, LOCALE_USER_DEFAULT, &pixelId))) {
        ShowError("[2]", kPixelLookupCaption);
        return E_FAIL;
    }
    if (!picture.hasPixels) {
        return S_OK;
    }
    params.cArgs = 4;
    args[3].PutI4(bitmap);
    const std::uint8_t* table = file.data() + kColourTable;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::uint8_t* row =
            file.data() + picture.pixelOffset +
            static_cast<std::uint64_t>(picture.height - 1 - y) * picture.stride;
        args[1].PutI4(y);
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* bgr = picture.bitsPerPixel == 24 ? row + 3 * x : table + 4 * row[x];
            const std::int32_t colour = bgr[2] | (bgr[1] << 8) | (bgr[0] << 16);
            args[2].PutI4(x);
            args[0].PutI4(colour);
            hr = Kaleid->Invoke(pixelId, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params,
                                nullptr, &exception, &badArgument);
            if (FAILED(hr)) {
                ShowError(CallErrorText(hr), kPixelCaption);
                return E_FAIL;
            }
        }
    }
    return S_OK;
}
