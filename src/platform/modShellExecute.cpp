#include "platform/modShellExecute.h"

#ifdef _WIN32
#include "platform/PathText.h"

#include <windows.h>

#include <shellapi.h>
#else
#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;
#endif

#ifdef _WIN32

void ShellOpen(const std::string& file, const std::string& parameters, WindowHandle owner, int showCommand,
               const std::string& workingFolder, bool wait) {
    const std::wstring wideFile = WideFromUtf8(file);
    const std::wstring wideParameters = WideFromUtf8(parameters);
    const std::wstring wideFolder = WideFromUtf8(workingFolder);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.c_str();
    info.lpDirectory = wideFolder.empty() ? nullptr : wideFolder.c_str();
    info.nShow = showCommand;
    ShellExecuteExW(&info);
    if (info.hProcess != nullptr) {
        if (wait) {
            WaitForSingleObject(info.hProcess, INFINITE);
        }
        CloseHandle(info.hProcess);
    }
}

#else

// Without the Windows shell, xdg-open opens the file or address with the user's default program. It is
// started with an argument vector, so nothing in the address is read by a shell; the owner, show command and
// parameters have no counterpart there. The child is reaped by a thread of its own unless the caller waits,
// so none is left a zombie and the caller returns at once.
void ShellOpen(const std::string& file, const std::string& /*parameters*/, WindowHandle /*owner*/,
               int /*showCommand*/, const std::string& workingFolder, bool wait) {
    std::string program = "xdg-open";
    std::string argument = file;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    }
    pid_t child = 0;
    const int started = posix_spawnp(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return;
    }
    auto reap = [child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    };
    if (wait) {
        reap();
    } else {
        std::thread(reap).detach();
    }
}

#endif

void SystemShell::Open(const ShellOpenRequest& request) {
    ShellOpen(request.File, request.Parameters, request.Owner, request.ShowCommand, request.WorkingFolder,
              request.Wait);
}

SystemShell& SystemShell::Instance() {
    static SystemShell shell;
    return shell;
}
