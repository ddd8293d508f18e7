// Preloaded into a child JVM (LD_PRELOAD): malloc of the one size named by VELMORA_REFUSED_MALLOC_SIZE
// gives null, as when the native heap cannot hold it, and every refusal writes a line on standard
// error, so a test sees that it happened and during which call. Every other request goes to glibc's
// own malloc by its exported name: looking it up with dlsym could itself allocate.
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" void* __libc_malloc(std::size_t size);

namespace {

// 0 until the constructor has read the size, and then for good when none was given.
std::size_t refusedSize = 0;
char line[64];
std::size_t lineLength = 0;

// Runs before the launcher starts the JVM or any thread, so malloc only ever reads these.
__attribute__((constructor)) void readRefusedSize() {
    const char* text = std::getenv("VELMORA_REFUSED_MALLOC_SIZE");
    if (!text || !*text) return;
    char* end = nullptr;
    const unsigned long long size = std::strtoull(text, &end, 10);
    if (*end != '\0' || size == 0) return;
    const int length = std::snprintf(line, sizeof line, "refused malloc(%llu)\n", size);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof line) return;
    lineLength = static_cast<std::size_t>(length);
    refusedSize = static_cast<std::size_t>(size);
}

}  // namespace

extern "C" void* malloc(std::size_t size) noexcept {
    if (size == refusedSize && refusedSize != 0) {
        // write(2) only: nothing here may allocate. A line that cannot be written is only a line lost.
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, lineLength);
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_malloc(size);
}
