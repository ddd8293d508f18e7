#include "bridge.h"

#include "child_process.h"
#include "platform_calls.h"
#include "runner.h"
#include "standin_control.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace nt {

namespace {

Bridge loadedBridge;

#ifdef _WIN32
void* openLibrary(const std::string& path) { return LoadLibraryW(wide(path).c_str()); }
void* findSymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
std::string lastError() { return "error " + std::to_string(GetLastError()); }
#else
void* openLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* findSymbol(void* module, const char* name) { return dlsym(module, name); }
std::string lastError() {
    const char* error = dlerror();
    return error ? error : "";
}
#endif

template <class F>
void take(void* module, F& function, const char* name) {
    function = reinterpret_cast<F>(findSymbol(module, name));
    ok(function != nullptr, "the bridge does not export %s\n", name);
}

}  // namespace

void loadBridge(const std::string& path) {
    void* module = openLibrary(path);
    ok(module != nullptr, "cannot load the bridge %s: %s\n", path.c_str(), lastError().c_str());
    if (!module) return;
#define VELMORA_FUNCTION(Result, Name, Parameters) take(module, loadedBridge.Name, "Java_corvelle_Velmora_" #Name);
#include "record_library_functions.h"
    platform::observeBridge(module);
}

const Bridge& bridge() { return loadedBridge; }

const std::vector<std::string>& functionNames() {
    static const std::vector<std::string> names{
#define VELMORA_FUNCTION(Result, Name, Parameters) #Name,
#include "record_library_functions.h"
    };
    return names;
}

namespace standin {

namespace {

void* module() {
#ifdef _WIN32
    return GetModuleHandleW(L"Velmora64");
#else
    return dlopen("libVelmora64.so", RTLD_NOW | RTLD_NOLOAD);
#endif
}

template <class F>
F function(const char* name) {
    auto found = reinterpret_cast<F>(symbol(name));
    if (!found) std::abort();
    return found;
}

}  // namespace

bool isLoaded() {
    void* loaded = module();
#ifndef _WIN32
    if (loaded) dlclose(loaded);  // NOLOAD still counts a reference
#endif
    return loaded != nullptr;
}

void load() {
#ifdef _WIN32
    ok(LoadLibraryW(L"Velmora64") != nullptr, "cannot load the stand-in record library\n");
#else
    ok(dlopen("libVelmora64.so", RTLD_NOW | RTLD_LOCAL) != nullptr, "cannot load the stand-in: %s\n", dlerror());
#endif
}

std::string fileName() {
#ifdef _WIN32
    return "Velmora64.dll";
#else
    return "libVelmora64.so";
#endif
}

void* symbol(const char* name) {
    void* loaded = module();
    void* found = loaded ? findSymbol(loaded, name) : nullptr;
#ifndef _WIN32
    if (loaded) dlclose(loaded);
#endif
    ok(found != nullptr, "the record library is not loaded or lacks %s\n", name);
    return found;
}

void reset() { function<decltype(&StandinReset)>("StandinReset")(); }

void steerInt(const std::string& name, int result) {
    function<decltype(&StandinSteerInt)>("StandinSteerInt")(name.c_str(), result);
}

void steerString(const std::string& name, const std::string& bytes) {
    function<decltype(&StandinSteerString)>("StandinSteerString")(name.c_str(), bytes.data(),
                                                                    static_cast<int>(bytes.size()));
}

void steerNullString(const std::string& name) {
    function<decltype(&StandinSteerString)>("StandinSteerString")(name.c_str(), nullptr, 0);
}

void steerStringAlignment(int offset) {
    function<decltype(&StandinSteerStringAlignment)>("StandinSteerStringAlignment")(offset);
}

void steerBytes(const std::string& name, const std::string& bytes) {
    function<decltype(&StandinSteerBytes)>("StandinSteerBytes")(
        name.c_str(), reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

void steerNullBytes(const std::string& name) {
    function<decltype(&StandinSteerBytes)>("StandinSteerBytes")(name.c_str(), nullptr, 0);
}

void steerBitmap(int width, int height, int bitsPerPixel, const std::vector<unsigned>& pixels) {
    static const unsigned none = 0;
    function<decltype(&StandinSteerBitmap)>("StandinSteerBitmap")(width, height, bitsPerPixel,
                                                                    pixels.empty() ? &none : pixels.data());
}

void steerNoBitmap() { function<decltype(&StandinSteerBitmap)>("StandinSteerBitmap")(0, 0, 24, nullptr); }

void steerNotABitmap() { function<decltype(&StandinSteerNotABitmap)>("StandinSteerNotABitmap")(); }

void setLastError(const std::string& message) {
    function<decltype(&StandinSetLastError)>("StandinSetLastError")(message.c_str());
}

std::vector<std::string> takeCalls() {
    const std::string log = function<decltype(&StandinCallLog)>("StandinCallLog")();
    function<decltype(&StandinClearCallLog)>("StandinClearCallLog")();
    std::vector<std::string> lines;
    std::size_t start = 0, end;
    while ((end = log.find('\n', start)) != std::string::npos) {
        lines.push_back(log.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace standin

}  // namespace nt
