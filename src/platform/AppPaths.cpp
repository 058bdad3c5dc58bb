#include "platform/AppPaths.h"

#include "MakerSite.h"

#ifdef _WIN32
#include "platform/PathText.h"
#else
#include <filesystem>
#include <system_error>
#endif

std::string AppFolder;
std::string EngineFile;
std::string DefaultEngineFile;
std::string HomePageURL;
std::string ProductPageURL;
std::string DonationURL;
std::string ForumURL;

namespace {

#ifdef _WIN32
std::string ExecutablePath() {
    return Utf8FromWide(ExecutableWidePath());
}
#else
std::string ExecutablePath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}
#endif

} // namespace

void InitGlobals() {
    InitGlobalsForExecutable(ExecutablePath());
}

void InitGlobalsForExecutable(std::string_view executablePath) {
    const std::size_t separator = executablePath.rfind(PathSeparator);
    const std::string_view folder =
        separator == std::string_view::npos ? std::string_view{} : executablePath.substr(0, separator);
    const std::string site = std::string("http://") + MakerHost;

    AppFolder = AddBackslash(folder);
    EngineFile = AppFolder + "Search Engines.ini";
    DefaultEngineFile = AppFolder + "Search Engines.bak";
    HomePageURL = site + "/?from=" + ProgramWord;
    ForumURL = site + "/forum/";
    DonationURL = site + "/?id=donation";
    ProductPageURL = site + "/?id=" + ProgramWord;
}

std::string AddBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != PathSeparator) {
        result += PathSeparator;
    }
    return result;
}
