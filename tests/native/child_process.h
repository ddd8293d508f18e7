// The program re-run as a child, one per scenario: a fresh process whose library search finds the
// record library in the folder the scenario asks for (Windows: SetDllDirectoryW in the child;
// Linux: LD_LIBRARY_PATH in the child's environment, since the dynamic loader reads it at start-up).
#pragma once

#include <string>
#include <vector>

namespace nt {

struct ChildExit {
    int failures;      // the child's exit status, or 1 when it did not end by itself
    std::string note;  // how it ended when that was not a normal exit
};

ChildExit runSelf(const std::vector<std::string>& arguments, const std::string& libraryDir, int timeoutSeconds);

// Makes the child search libraryDir for libraries; called first thing in the child.
void searchLibrariesIn(const std::string& libraryDir);

// A new empty folder under the system's temporary folder.
std::string makeScratchFolder();
void removeFolder(const std::string& folder);

// A path as this platform's file functions take it: under Wine, a Unix path becomes Z:\...
std::string nativePath(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);

#ifdef _WIN32
std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& text);
#endif

}  // namespace nt
