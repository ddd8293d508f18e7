// velmora_native_tests: the bridge called through a fake JNIEnv against the stand-in record library.
//
//   velmora_native_tests --bridge BRIDGE --standins STANDIN_ROOT GROUP
//       runs every scenario of GROUP, each in a child process of its own
//   velmora_native_tests --list
//   velmora_native_tests --version      does nothing (under Wine: makes the prefix, once)
// A child is the same program with --child SCENARIO --parameter P --scratch DIR --library-dir DIR.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "bridge.h"
#include "child_process.h"
#include "message_boxes.h"
#include "runner.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace nt {

namespace {

Options given;

// Each child ends within this, or it is stopped and counts as failed (a box nobody dismisses).
constexpr int childTimeoutSeconds = 120;

// A child is told its scenario as "group/name": names repeat across groups.
std::string fullName(const Scenario& scenario) { return scenario.group + "/" + scenario.name; }

int runChild(const std::string& name, const std::string& parameter) {
    const Scenario* scenario = nullptr;
    for (const Scenario& s : scenarios())
        if (fullName(s) == name) scenario = &s;
    if (!scenario) {
        std::printf("no scenario %s\n", name.c_str());
        return 1;
    }
    searchLibrariesIn(given.libraryDir);
    startCatchingBoxes(joinPath(given.scratch, "stderr.txt"));
    loadBridge(given.bridge);
    if (failureCount() == 0) scenario->body(parameter);
    // A box that no check took is one that nobody expected.
    for (const CaughtBox& box : takeBoxes())
        ok(false, "unexpected message box or standard error line: \"%s: %s\"\n", box.caption.c_str(), box.text.c_str());
    std::printf("%s%s%s: %d tests executed, %d failures\n", name.c_str(), parameter.empty() ? "" : " ",
                parameter.c_str(), checkCount(), failureCount());
    std::fflush(stdout);
    return failureCount() > 255 ? 255 : failureCount();
}

std::string libraryDirFor(const Scenario& scenario, const std::string& parameter, const std::string& scratch) {
    switch (scenario.library) {
    case Library::full: return joinPath(given.standins, "full");
    case Library::withoutFunction: return joinPath(given.standins, "without-" + parameter);
    case Library::none: break;
    }
    const std::string empty = joinPath(scratch, "library");
    std::filesystem::create_directory(std::filesystem::u8path(empty));
    return empty;
}

int runGroup(const std::string& group) {
    int failedChildren = 0, children = 0;
    for (const Scenario& scenario : scenarios()) {
        if (scenario.group != group) continue;
        for (const std::string& parameter : scenario.parameters) {
            ++children;
            const std::string scratch = makeScratchFolder();
            const std::string libraryDir = libraryDirFor(scenario, parameter, scratch);
            const ChildExit exit = runSelf({"--bridge", given.bridge, "--standins", given.standins, "--child",
                                            fullName(scenario), "--parameter", parameter, "--scratch", scratch,
                                            "--library-dir", libraryDir},
                                           libraryDir, childTimeoutSeconds);
            removeFolder(scratch);
            if (exit.failures || !exit.note.empty()) {
                ++failedChildren;
                std::printf("FAILED: %s%s%s: %d failures%s%s\n", scenario.name.c_str(), parameter.empty() ? "" : " ",
                            parameter.c_str(), exit.failures, exit.note.empty() ? "" : ", ", exit.note.c_str());
            }
        }
    }
    if (!children) {
        std::printf("no scenarios in group %s\n", group.c_str());
        return 1;
    }
    std::printf("group %s: %d scenario runs, %d failed\n", group.c_str(), children, failedChildren);
    return failedChildren > 255 ? 255 : failedChildren;
}

}  // namespace

const Options& options() { return given; }

}  // namespace nt

int main(int argc, char** argv) {
    using namespace nt;
#ifdef _WIN32
    // A crash ends the child at once, not in a debugger waiting for someone.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#endif
    std::string child, parameter, group;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() { return i + 1 < argc ? nativePath(argv[++i]) : std::string(); };
        if (argument == "--bridge") given.bridge = value();
        else if (argument == "--standins") given.standins = value();
        else if (argument == "--scratch") given.scratch = value();
        else if (argument == "--library-dir") given.libraryDir = value();
        else if (argument == "--child") child = value();
        else if (argument == "--parameter") parameter = value();
        else if (argument == "--version") return 0;
        else if (argument == "--list") {
            std::set<std::string> groups;
            for (const Scenario& s : scenarios()) groups.insert(s.group);
            for (const std::string& g : groups) std::printf("%s\n", g.c_str());
            return 0;
        } else group = argument;
    }
    if (!child.empty()) return runChild(child, parameter);
    if (group.empty() || given.bridge.empty() || given.standins.empty()) {
        std::printf("usage: %s --bridge BRIDGE --standins STANDIN_ROOT GROUP\n", argv[0]);
        return 1;
    }
    return runGroup(group);
}
