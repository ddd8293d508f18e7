#include "child_process.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

extern char** environ;
#endif

namespace nt {

namespace fs = std::filesystem;

std::string joinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

#ifdef _WIN32

std::wstring wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string nativePath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    // Wine's drive Z: is the Unix root.
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

namespace {

// Quoted as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

ChildExit runSelf(const std::vector<std::string>& arguments, const std::string&, int timeoutSeconds) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = quoted(self);
    for (const std::string& argument : arguments) commandLine += L" " + quoted(wide(argument));

    std::fflush(stdout);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return {1, "could not be started"};
    ChildExit result{0, ""};
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutSeconds) * 1000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        result = {1, "timed out"};
    } else {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.failures = static_cast<int>(code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

void searchLibrariesIn(const std::string& libraryDir) { SetDllDirectoryW(wide(libraryDir).c_str()); }

std::string makeScratchFolder() {
    static int serial = 0;
    for (;;) {
        fs::path folder = fs::temp_directory_path() /
                          ("velmora-native-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++serial) + "-" + std::to_string(GetTickCount()));
        std::error_code error;
        if (fs::create_directory(folder, error)) return narrow(folder.wstring());
    }
}

#else

std::string nativePath(const std::string& path) { return path; }

ChildExit runSelf(const std::vector<std::string>& arguments, const std::string& libraryDir, int timeoutSeconds) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {1, "could not find its own executable"};
    self[length] = '\0';

    std::vector<std::string> environment{"LD_LIBRARY_PATH=" + libraryDir};
    for (char** variable = environ; *variable; ++variable)
        if (std::strncmp(*variable, "LD_LIBRARY_PATH=", 16) != 0) environment.push_back(*variable);
    std::vector<char*> envp, argv{self};
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::vector<std::string> copies(arguments);
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::fflush(stdout);
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, argv.data(), envp.data()) != 0)
        return {1, "could not be started"};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return {1, "timed out"};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) return {WEXITSTATUS(status), ""};
    return {1, "killed by signal " + std::to_string(WTERMSIG(status))};
}

void searchLibrariesIn(const std::string&) {
    // The parent has put the folder in LD_LIBRARY_PATH before this process started.
}

std::string makeScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "velmora-native-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return "";
    return pattern;
}

#endif

void removeFolder(const std::string& folder) {
    std::error_code error;
    fs::remove_all(fs::u8path(folder), error);
}

}  // namespace nt
