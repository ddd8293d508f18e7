// A small test runner in the manner of Wine's conformance tests: ok(condition, format, ...) prints
// "file:line: Test failed: ..." and counts; a process's exit status is its failure count.
//
// Tests are scenarios, each run in a child process of its own: the binding to the record library
// lives per process, so a fresh child is the only way to see a first call or a missing library.
#pragma once

#include <string>
#include <vector>

namespace nt {

#if defined(__MINGW32__)
// The C++ runtime of mingw formats as GNU does (%zu, %lld), not as msvcrt.
#define NT_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__)
#define NT_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define NT_PRINTF(f, a)
#endif

void checkAt(const char* file, int line, bool condition, const char* format, ...) NT_PRINTF(4, 5);
int failureCount();
int checkCount();

// Names the case that the following checks of this thread belong to, for as long as it lives.
class Context {
public:
    explicit Context(const char* format, ...) NT_PRINTF(2, 3);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

// Where a child's library search finds the record library Velmora64.
enum class Library {
    full,             // the stand-in with all 26 functions
    withoutFunction,  // the stand-in lacking the function named by the scenario's parameter
    none,             // an empty folder of the child's own, where the test may place one later
};

using ScenarioBody = void (*)(const std::string& parameter);

struct Scenario {
    std::string group;
    std::string name;
    Library library;
    std::vector<std::string> parameters;  // one child per parameter
    ScenarioBody body;
};

std::vector<Scenario>& scenarios();

struct Registration {
    Registration(const char* group, const char* name, Library library, std::vector<std::string> parameters,
                 ScenarioBody body);
};

// What the parent gave the child on its command line.
struct Options {
    std::string bridge;      // full path of the bridge library
    std::string standins;    // the folder holding full/ and without-<Name>/
    std::string scratch;     // a folder of this child's own, removed when it ends
    std::string libraryDir;  // where the record library is searched for
};
const Options& options();

}  // namespace nt

#define ok(condition, ...) ::nt::checkAt(__FILE__, __LINE__, static_cast<bool>(condition), __VA_ARGS__)

#define SCENARIO_EACH(group, name, library, parameters)                                                   \
    static void name(const std::string& parameter);                                                      \
    static const ::nt::Registration name##Registration(group, #name, library, parameters, name);        \
    static void name([[maybe_unused]] const std::string& parameter)

#define SCENARIO(group, name, library) SCENARIO_EACH(group, name, library, std::vector<std::string>{""})
