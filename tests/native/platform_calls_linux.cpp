#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>

#include "platform_calls.h"
#include "runner.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizer runtimes' own allocator count; GCC ships no header declaring it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define NT_SANITIZED 1
#endif

namespace nt::platform {

const char* const loadLine = "load libVelmora64.so";

namespace {

std::mutex mutex;
std::vector<std::string> calls;
std::set<void*> loaded;

void* countingDlopen(const char* file, int flags) {
    void* module = dlopen(file, flags);
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back(std::string("load ") + (file ? file : "(null)"));
    if (module) loaded.insert(module);
    return module;
}

void* countingDlsym(void* module, const char* name) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::string line = std::string("lookup ") + (name ? name : "(null)");
        if (!loaded.count(module)) line += " in a module that no load returned";
        calls.push_back(line);
    }
    return dlsym(module, name);
}

// Points the relocation slots of the named symbols at the replacements.
int patch(const link_map* map, const ElfW(Rela)* relocations, std::size_t bytes, const ElfW(Sym)* symbols,
          const char* names) {
    int patched = 0;
    for (std::size_t i = 0; i < bytes / sizeof(ElfW(Rela)); ++i) {
        const ElfW(Rela)& r = relocations[i];
        const auto type = ELF64_R_TYPE(r.r_info);
        if (type != R_X86_64_JUMP_SLOT && type != R_X86_64_GLOB_DAT) continue;
        const char* name = names + symbols[ELF64_R_SYM(r.r_info)].st_name;
        void* replacement = std::strcmp(name, "dlopen") == 0  ? reinterpret_cast<void*>(&countingDlopen)
                            : std::strcmp(name, "dlsym") == 0 ? reinterpret_cast<void*>(&countingDlsym)
                                                              : nullptr;
        if (!replacement) continue;
        auto* slot = reinterpret_cast<void**>(map->l_addr + r.r_offset);
        // The slot may lie in the part made read-only after relocation; an aligned slot lies
        // within one page.
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        void* start = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(slot) & ~(page - 1));
        if (mprotect(start, page, PROT_READ | PROT_WRITE) != 0) continue;
        *slot = replacement;
        ++patched;
    }
    return patched;
}

}  // namespace

void observeBridge(void* module) {
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map) {
        ok(false, "no link map for the bridge: %s\n", dlerror());
        return;
    }
    // The loader has relocated the dynamic section's addresses in place; an offset means it has not.
    auto address = [map](ElfW(Addr) value) { return value < map->l_addr ? value + map->l_addr : value; };
    const ElfW(Sym)* symbols = nullptr;
    const char* names = nullptr;
    const ElfW(Rela)* relocations = nullptr;
    const ElfW(Rela)* pltRelocations = nullptr;
    std::size_t relocationBytes = 0, pltBytes = 0;
    for (const ElfW(Dyn)* d = map->l_ld; d->d_tag != DT_NULL; ++d) {
        switch (d->d_tag) {
        case DT_SYMTAB: symbols = reinterpret_cast<const ElfW(Sym)*>(address(d->d_un.d_ptr)); break;
        case DT_STRTAB: names = reinterpret_cast<const char*>(address(d->d_un.d_ptr)); break;
        case DT_RELA: relocations = reinterpret_cast<const ElfW(Rela)*>(address(d->d_un.d_ptr)); break;
        case DT_RELASZ: relocationBytes = d->d_un.d_val; break;
        case DT_JMPREL: pltRelocations = reinterpret_cast<const ElfW(Rela)*>(address(d->d_un.d_ptr)); break;
        case DT_PLTRELSZ: pltBytes = d->d_un.d_val; break;
        default: break;
        }
    }
    int patched = 0;
    if (symbols && names && relocations) patched += patch(map, relocations, relocationBytes, symbols, names);
    if (symbols && names && pltRelocations) patched += patch(map, pltRelocations, pltBytes, symbols, names);
    ok(patched == 2, "expected the bridge to import dlopen and dlsym once each, patched %d slots\n", patched);
}

std::vector<std::string> takeCalls() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

std::string lookupLine(const std::string& function) { return "lookup " + function; }

std::size_t heapBytesInUse() {
#ifdef NT_SANITIZED
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

}  // namespace nt::platform
