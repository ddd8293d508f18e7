#include "runner.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace nt {

namespace {

std::atomic<int> failures{0};
std::atomic<int> checks{0};
std::mutex printing;
// A plain pointer: a thread_local with a destructor crashes at thread exit under mingw's
// winpthreads (the heap block is freed twice).
thread_local std::vector<std::string>* contexts = nullptr;

const char* baseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

std::string formatted(const char* format, va_list arguments) {
    char text[8192];
    std::vsnprintf(text, sizeof text, format, arguments);
    return text;
}

}  // namespace

void checkAt(const char* file, int line, bool condition, const char* format, ...) {
    ++checks;
    if (condition) return;
    ++failures;
    va_list arguments;
    va_start(arguments, format);
    std::string message = formatted(format, arguments);
    va_end(arguments);
    if (message.empty() || message.back() != '\n') message += '\n';
    std::string prefix;
    if (contexts)
        for (const std::string& context : *contexts) prefix += context + ": ";
    std::lock_guard<std::mutex> lock(printing);
    std::printf("%s:%d: Test failed: %s%s", baseName(file), line, prefix.c_str(), message.c_str());
    std::fflush(stdout);
}

int failureCount() { return failures; }
int checkCount() { return checks; }

Context::Context(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    if (!contexts) contexts = new std::vector<std::string>;
    contexts->push_back(formatted(format, arguments));
    va_end(arguments);
}

Context::~Context() {
    contexts->pop_back();
    if (contexts->empty()) {
        delete contexts;
        contexts = nullptr;
    }
}

std::vector<Scenario>& scenarios() {
    static std::vector<Scenario> all;
    return all;
}

Registration::Registration(const char* group, const char* name, Library library,
                           std::vector<std::string> parameters, ScenarioBody body) {
    scenarios().push_back({group, name, library, std::move(parameters), body});
}

}  // namespace nt
