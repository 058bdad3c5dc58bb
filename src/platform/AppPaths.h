#pragma once

#include <string>
#include <string_view>

// The application's paths and the maker's addresses, set once by InitGlobals at start and only read
// afterwards. The paths are UTF-8 on Windows too (see PathText.h).
extern std::string AppFolder;         // the executable's folder, ending in exactly one path separator
extern std::string EngineFile;        // AppFolder + "Search Engines.ini"
extern std::string DefaultEngineFile; // AppFolder + "Search Engines.bak"
extern std::string HomePageURL;
extern std::string ProductPageURL;
extern std::string DonationURL;
extern std::string ForumURL;

// The path separator of this system: "\" on Windows, "/" elsewhere.
inline constexpr char PathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// Sets the globals for the running executable.
void InitGlobals();

// Sets the globals for an executable at `executablePath` (its folder is everything up to the last separator).
void InitGlobalsForExecutable(std::string_view executablePath);

// The path unchanged when its last character is the path separator, else the path followed by one separator.
std::string AddBackslash(std::string_view path);
