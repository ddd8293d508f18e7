// The bridge's platform calls, observed on the shipped binary itself: its import slots for the
// library functions are pointed at counting wrappers once it is loaded. Windows: the import address
// table entries of KERNEL32 LoadLibraryW and GetProcAddress (and of the GDI32 functions the image
// method uses). Linux: the bridge's GOT entries for dlopen and dlsym, which its platform layer calls.
// Only the bridge's own calls are seen: the test's calls and the sanitizer runtimes' are untouched.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nt::platform {

void observeBridge(void* module);

// The bridge's loads and lookups since the last take, in order: "load Velmora64" (Linux: "load
// libVelmora64.so") and "lookup <name>"; a lookup in a module that no load returned says so.
std::vector<std::string> takeCalls();
extern const char* const loadLine;
std::string lookupLine(const std::string& function);

// Bytes of heap memory in use by the whole process (the sanitizers' allocator when there is one).
std::size_t heapBytesInUse();

#ifdef _WIN32
// The next GDI calls of the bridge fail, as they do when the system runs out of GDI resources.
struct GdiFailures {
    bool createCompatibleDC = false;
    bool getDIBits = false;
};
void failGdi(GdiFailures failures);

// The bridge's GDI calls since the last take, with handles named in order of appearance
// ("CreateCompatibleDC(null) = dc1", "DeleteObject(obj1)"); each also goes into the current
// thread's fake JNIEnv log as a note, so that the order against JNI calls shows.
std::vector<std::string> takeGdiCalls();

// The GDI objects the process holds now: GetGuiResources, or where Wine leaves that a stub that
// answers 0, the live entries of the process's GDI handle table.
int liveGdiObjects();
#endif

}  // namespace nt::platform
