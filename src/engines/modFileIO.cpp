#include "engines/modFileIO.h"

#include "engines/modGUI.h"
#include "engines/modParse.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/FileTooLarge.h"
#include "platform/PathText.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
    }
    return bytes;
}

// Calls `visit` with every line of `bytes`, empty ones included. A line ends at CR LF, a lone CR or a lone LF
// (no value holds either, so an editor's LF line ends are line ends too), and a last line without a line end
// counts.
template <typename Visit> void VisitLines(std::string_view bytes, Visit visit) {
    while (!bytes.empty()) {
        // A plain scan: find_first_of looks each byte up in the set with a call of its own.
        const std::size_t end = static_cast<std::size_t>(
            std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }) -
            bytes.begin());
        if (end == bytes.size()) {
            visit(bytes);
            return;
        }
        visit(bytes.substr(0, end));
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
}

std::string_view LastLine(std::string_view bytes) {
    std::string_view last;
    VisitLines(WithoutByteOrderMark(bytes), [&last](std::string_view line) { last = line; });
    return last;
}

void ReportLoadFailure(Prompt& prompt, std::string_view sBuffer, const Status& status) {
    prompt.Show({"LoadEngines()",
                 JoinLines({"Error while trying to load search engines.", "",
                            "sBuffer: " + std::string(sBuffer), "Error: " + status.description()}),
                 PromptIcon::Critical, PromptButtons::Ok});
}

void ReportSaveFailure(Prompt& prompt, const Status& status) {
    prompt.Show({"SaveEngines()",
                 JoinLines({"Error while trying to save search engines.", "",
                            "File: " + PathInMessage(EngineFile), "Error: " + status.description()}),
                 PromptIcon::Exclamation, PromptButtons::Ok});
}

void ReportRestoreFailure(Prompt& prompt, const Status& status) {
    prompt.Show({"Error Restoring Engines",
                 JoinLines({"There was an error while trying to restore the engines file.", "",
                            "Trying to copy this: " + PathInMessage(DefaultEngineFile),
                            "To this: " + PathInMessage(EngineFile), "Because: " + status.description()}),
                 PromptIcon::Exclamation, PromptButtons::Ok});
}

Status CopyFileAtomically(const std::string& from, const std::string& to) {
    std::string bytes;
    Status read = ReadWholeFile(from, bytes);
    if (!read.ok()) {
        return read;
    }
    return ReplaceFileAtomically(to, bytes);
}

// The row for one non-empty line. A line in the form the program writes it, "PREFIX=" prefix TAB "URL=" url
// with no other TAB, is cut where GetField would cut it and is its own Tag; this direct cut is most of the
// speed of reading a long list. Any other line goes through GetField and has its Tag rebuilt.
EngineRow RowOfLine(std::string_view line) {
    constexpr std::string_view PrefixKey = "PREFIX=";
    constexpr std::string_view UrlKey = "URL=";
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos && line.starts_with(PrefixKey) &&
        line.substr(tab + 1).starts_with(UrlKey) && line.find('\t', tab + 1) == std::string_view::npos) {
        return EngineRow{std::string(line.substr(PrefixKey.size(), tab - PrefixKey.size())),
                         std::string(line.substr(tab + 1 + UrlKey.size())), std::string(line), true};
    }
    return MakeEngineRow(GetField(line, "PREFIX", "\t", "=", ""), GetField(line, "URL", "\t", "=", ""));
}

} // namespace

std::vector<EngineRow> ParseEngineList(std::string_view bytes) {
    bytes = WithoutByteOrderMark(bytes);
    std::vector<EngineRow> rows;
    // Counting first lets a large list be built without regrowing, which costs more than the extra pass.
    std::size_t count = 0;
    VisitLines(bytes, [&count](std::string_view line) { count += line.empty() ? 0 : 1; });
    rows.reserve(count);
    VisitLines(bytes, [&rows](std::string_view line) {
        if (line.empty()) {
            return;
        }
        rows.push_back(RowOfLine(line));
    });
    return rows;
}

std::string FormatEngineList(const EngineRows& rows) {
    const std::size_t count = rows.Count();
    std::size_t size = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        size += rows.Row(i).Tag.size() + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = 1; i <= count; ++i) {
        bytes.append(rows.Row(i).Tag).append("\r\n");
    }
    return bytes;
}

void LoadEngines(EngineRows& rows, Prompt& prompt) {
    std::string bytes;
    Status status = ReadWholeFile(EngineFile, bytes);
    std::vector<EngineRow> parsed;
    const auto parse = [&] {
        parsed = ParseEngineList(bytes);
        return Status();
    };
    // A list whose rows need more memory than the program can get fails as a file too large to read does.
    if (Status fits = UnlessFileTooLarge(bytes, parse); status.ok()) {
        status = std::move(fits);
    }
    rows.Replace(std::move(parsed));
    if (!status.ok()) {
        ReportLoadFailure(prompt, LastLine(bytes), status);
    }
}

bool SaveEngines(const EngineRows& rows, Prompt& prompt) {
    const Status status = ReplaceFileAtomically(EngineFile, FormatEngineList(rows));
    if (!status.ok()) {
        ReportSaveFailure(prompt, status);
    }
    return status.ok();
}

bool RestoreEngines(EngineRows& rows, Prompt& prompt) {
    const Status status = CopyFileAtomically(DefaultEngineFile, EngineFile);
    if (!status.ok()) {
        ReportRestoreFailure(prompt, status);
        return false;
    }
    LoadEngines(rows, prompt);
    return true;
}
