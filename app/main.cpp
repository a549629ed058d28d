#include "app/handover/PickHandOver.h"

#include <climits>
#include <cstdio>
#include <string>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// This executable's folder, links resolved (a portable install reaches the
// program through a link in bin).
std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return {};
    path[length] = '\0';
    const std::string program(path);
    return program.substr(0, program.rfind('/'));
}

using WindowsMain = int (*)(int, char*[]);

// Loads the windows' module, beside the program in a build or portable
// folder, among the private libraries in a system-wide install, and hands it
// the start.
int runWindows(int argc, char* argv[])
{
    const std::string folder = programFolder();
    std::string module = folder + "/" TINTORA_MODULE_NAME;
    if (::access(module.c_str(), F_OK) != 0)
        module = folder + "/" TINTORA_MODULE_FROM_PROGRAM;
    // Bound lazily, as a linked library would be: of the thousands of Qt
    // functions the windows name, a start calls a few hundred.
    void* loaded = ::dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto windowsMain =
        loaded ? reinterpret_cast<WindowsMain>(::dlsym(loaded, "tintora_windows_main")) : nullptr;
    if (!windowsMain) {
        const char* why = ::dlerror();
        std::fprintf(stderr, "tintora: the program's windows could not be loaded from %s: %s\n",
                     module.c_str(), why ? why : "no reason given");
        return 1;
    }
    return windowsMain(argc, argv);
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> exitCode = programstart::HandOverPick(argc, argv))
        return *exitCode;
    return runWindows(argc, argv);
}
