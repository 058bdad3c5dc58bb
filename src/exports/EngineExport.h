#pragma once

#include "engines/EngineRows.h"
#include "platform/Prompt.h"
#include "platform/Status.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The formats the checked engines can be exported to.
enum class ExportFormat {
    Bookmarks, // a Netscape bookmark file with keywords, for Firefox's and Chrome's bookmark import
    Reg,       // a registry editor file with the keys Install writes
    Firefox,   // Firefox's policies.json
    Chrome,    // Chrome's managed policy
};

// The format of a command-line name ("bookmarks", "reg", "firefox", "chrome"), without regard to case.
std::optional<ExportFormat> ExportFormatNamed(std::string_view name);

// A checked engine that an export leaves out, and why.
struct LeftOutEngine {
    std::string Prefix;
    std::string Reason;

    bool operator==(const LeftOutEngine&) const = default;
};

struct EngineExport {
    std::string Bytes;
    std::size_t Checked = 0;
    std::size_t Exported = 0;
    std::vector<LeftOutEngine> LeftOut;
};

// The file of the format for the checked rows. What the format's browser would refuse or misread is left
// out and named, never changed: an empty prefix, a prefix with a space, a URL without "%s", text that is not
// in the list's encoding, for Chrome a shortcut starting with "@" and any engine after the hundredth. Of two
// rows whose prefixes differ only in case the later is exported, as Install keeps it.
EngineExport ExportEngines(const EngineRows& rows, ExportFormat format);

// What the "ExportEngines()" box says of an export written to a file, or of one that could not be written.
PromptMessage ExportReport(const EngineExport& exported, const Status& written);

// Exports the checked rows to the file at `path`, replacing it atomically, and reports in the
// "ExportEngines()" box. Returns true when every checked engine is in the file.
bool ExportEnginesToFile(const EngineRows& rows, ExportFormat format, const std::string& path,
                         Prompt& prompt);
