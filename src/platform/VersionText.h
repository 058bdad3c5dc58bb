#pragma once

#include <string>

// The program's version numbers: from the executable's version resource on Windows, else from the build.
struct ProgramVersion {
    int Major;
    int Minor;
    int Revision;
};
ProgramVersion CurrentVersion();

// "IE Vantrel v2." followed by the minor number with at least two digits.
std::string MainWindowCaption(const ProgramVersion& version);
// The major number, ".", and the minor number with at least two digits: "2.00".
std::string VersionText(const ProgramVersion& version);
// "#" and the revision number with at least four digits: "#0010".
std::string BuildText(const ProgramVersion& version);
