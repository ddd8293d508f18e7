#include <fcntl.h>
#include <unistd.h>

#include <mutex>

#include "message_boxes.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace nt {

namespace {

std::mutex mutex;
int captureFd = -1;
off_t readSoFar = 0;
std::string partial;

}  // namespace

void startCatchingBoxes(const std::string& captureFile) {
    const int original = dup(STDERR_FILENO);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers' reports go to the real standard error, not into the capture.
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(original)));
#else
    (void)original;
#endif
    // O_APPEND: each of the bridge's single-write lines lands whole, whichever thread writes it.
    const int fd = open(captureFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    dup2(fd, STDERR_FILENO);
    close(fd);
    captureFd = open(captureFile.c_str(), O_RDONLY);
}

void catchBoxesOnThisThread() {}
void stopCatchingBoxesOnThisThread() {}

std::vector<CaughtBox> takeBoxes() {
    std::lock_guard<std::mutex> lock(mutex);
    char buffer[4096];
    ssize_t n;
    while ((n = pread(captureFd, buffer, sizeof buffer, readSoFar)) > 0) {
        partial.append(buffer, static_cast<std::size_t>(n));
        readSoFar += n;
    }
    std::vector<CaughtBox> boxes;
    std::size_t start = 0, end;
    while ((end = partial.find('\n', start)) != std::string::npos) {
        const std::string line = partial.substr(start, end - start);
        const std::size_t colon = line.find(": ");
        CaughtBox box;
        if (colon != std::string::npos) {
            box.caption = line.substr(0, colon);
            box.text = line.substr(colon + 2);
        } else {
            box.text = line;
        }
        boxes.push_back(box);
        start = end + 1;
    }
    partial.erase(0, start);
    return boxes;
}

}  // namespace nt
