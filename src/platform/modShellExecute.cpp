#include "platform/modShellExecute.h"

#ifdef _WIN32
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
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = workingFolder.empty() ? nullptr : workingFolder.c_str();
    info.nShow = showCommand;
    ShellExecuteExA(&info);
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
