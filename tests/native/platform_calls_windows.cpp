#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

#include "child_process.h"
#include "fake_jni.h"
#include "platform_calls.h"
#include "runner.h"

namespace nt::platform {

const char* const loadLine = "load Velmora64";

namespace {

std::mutex mutex;
std::vector<std::string> calls;
std::set<HMODULE> loaded;

std::vector<std::string> gdiCalls;
std::map<const void*, std::string> handleNames;
int dcCount = 0, objectCount = 0;
GdiFailures failures;

// ---- kernel32 ----

HMODULE WINAPI countingLoadLibraryW(LPCWSTR name) {
    HMODULE module = LoadLibraryW(name);
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back("load " + (name ? narrow(name) : std::string("(null)")));
    if (module) loaded.insert(module);
    return module;
}

FARPROC WINAPI countingGetProcAddress(HMODULE module, LPCSTR name) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::string line = reinterpret_cast<std::uintptr_t>(name) >> 16
                               ? std::string("lookup ") + name
                               : "lookup by ordinal " + std::to_string(reinterpret_cast<std::uintptr_t>(name));
        if (!loaded.count(module)) line += " in a module that no load returned";
        calls.push_back(line);
    }
    return GetProcAddress(module, name);
}

// ---- gdi32 ----

std::string nameOf(const void* handle, bool isNewDc = false) {
    if (!handle) return "null";
    auto it = handleNames.find(handle);
    if (it != handleNames.end()) return it->second;
    std::string name = isNewDc ? "dc" + std::to_string(++dcCount) : "obj" + std::to_string(++objectCount);
    handleNames[handle] = name;
    return name;
}

void addGdi(const std::string& line) {
    gdiCalls.push_back(line);
    FakeJni::note("gdi " + line);
}

HDC WINAPI countingCreateCompatibleDC(HDC dc) {
    std::lock_guard<std::mutex> lock(mutex);
    HDC made = nullptr;
    if (failures.createCompatibleDC)
        failures.createCompatibleDC = false;
    else
        made = CreateCompatibleDC(dc);
    addGdi("CreateCompatibleDC(" + nameOf(dc) + ") = " + nameOf(made, true));
    return made;
}

BOOL WINAPI countingDeleteDC(HDC dc) {
    std::lock_guard<std::mutex> lock(mutex);
    const BOOL done = DeleteDC(dc);
    addGdi("DeleteDC(" + nameOf(dc) + ")" + (done ? "" : " failed"));
    return done;
}

BOOL WINAPI countingDeleteObject(HGDIOBJ object) {
    std::lock_guard<std::mutex> lock(mutex);
    const BOOL done = DeleteObject(object);
    addGdi("DeleteObject(" + nameOf(object) + ")" + (done ? "" : " failed"));
    return done;
}

int WINAPI countingGetObjectA(HANDLE object, int size, LPVOID buffer) {
    std::lock_guard<std::mutex> lock(mutex);
    const int result = GetObjectA(object, size, buffer);
    addGdi("GetObject(" + nameOf(object) + ", " + std::to_string(size) + ") = " + std::to_string(result));
    return result;
}

int WINAPI countingGetObjectW(HANDLE object, int size, LPVOID buffer) {
    std::lock_guard<std::mutex> lock(mutex);
    const int result = GetObjectW(object, size, buffer);
    addGdi("GetObject(" + nameOf(object) + ", " + std::to_string(size) + ") = " + std::to_string(result));
    return result;
}

int WINAPI countingGetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                             UINT usage) {
    std::lock_guard<std::mutex> lock(mutex);
    std::string line = "GetDIBits(" + nameOf(dc) + ", " + nameOf(bitmap) + ", " + std::to_string(start) + ", " +
                       std::to_string(lines) + ", " + FakeJni::describePointer(bits) + ", ";
    if (info) {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        char header[160];
        std::snprintf(header, sizeof header, "{%lu, %ld, %ld, %u, %u, %lu, %lu, %lu}", h.biSize, h.biWidth,
                      h.biHeight, h.biPlanes, h.biBitCount, h.biCompression, h.biSizeImage, h.biClrUsed);
        line += header;
    } else {
        line += "null";
    }
    line += ", " + std::to_string(usage) + ")";
    int result = 0;
    if (failures.getDIBits)
        failures.getDIBits = false;
    else
        result = GetDIBits(dc, bitmap, start, lines, bits, info, usage);
    addGdi(line + " = " + std::to_string(result));
    return result;
}

// Points the module's import address table entry for dll!function at the replacement.
bool patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD protection;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), protection, &protection);
            return true;
        }
    }
    return false;
}

template <class F>
void* address(F function) {
    return reinterpret_cast<void*>(function);
}

}  // namespace

void observeBridge(void* bridge) {
    HMODULE module = static_cast<HMODULE>(bridge);
    ok(patchImport(module, "KERNEL32.dll", "LoadLibraryW", address(&countingLoadLibraryW)),
       "the bridge does not import KERNEL32 LoadLibraryW\n");
    ok(patchImport(module, "KERNEL32.dll", "GetProcAddress", address(&countingGetProcAddress)),
       "the bridge does not import KERNEL32 GetProcAddress\n");
    ok(patchImport(module, "GDI32.dll", "CreateCompatibleDC", address(&countingCreateCompatibleDC)),
       "the bridge does not import GDI32 CreateCompatibleDC\n");
    ok(patchImport(module, "GDI32.dll", "GetDIBits", address(&countingGetDIBits)),
       "the bridge does not import GDI32 GetDIBits\n");
    const bool getObject = patchImport(module, "GDI32.dll", "GetObjectA", address(&countingGetObjectA)) |
                           patchImport(module, "GDI32.dll", "GetObjectW", address(&countingGetObjectW));
    ok(getObject, "the bridge does not import GDI32 GetObject\n");
    // The bridge may or may not release what it made; when it does, it is seen.
    patchImport(module, "GDI32.dll", "DeleteDC", address(&countingDeleteDC));
    patchImport(module, "GDI32.dll", "DeleteObject", address(&countingDeleteObject));
}

std::vector<std::string> takeCalls() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

std::string lookupLine(const std::string& function) { return "lookup " + function; }

std::size_t heapBytesInUse() { return 0; }

void failGdi(GdiFailures next) {
    std::lock_guard<std::mutex> lock(mutex);
    failures = next;
}

std::vector<std::string> takeGdiCalls() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> taken;
    taken.swap(gdiCalls);
    handleNames.clear();
    dcCount = objectCount = 0;
    return taken;
}

int liveGdiObjects() {
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count) return static_cast<int>(count);
    // Wine 8 answers 0 whatever the process holds. Its GDI handle table lies where Windows keeps
    // one too, at PEB offset 0xF8 (GdiSharedHandleTable): 0x10000 entries of 24 bytes, the type
    // byte at offset 14 being zero in a free entry.
    const unsigned char* peb;
    asm("movq %%gs:0x60, %0" : "=r"(peb));  // the 64-bit TEB's ProcessEnvironmentBlock
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
    if (!table) return -1;
    int live = 0;
    for (int i = 0; i < 0x10000; ++i) live += table[i * 24 + 14] != 0;
    return live;
}

}  // namespace nt::platform
