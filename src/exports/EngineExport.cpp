#include "exports/EngineExport.h"

#include "engines/modParse.h"
#include "platform/AtomicFile.h"
#include "registry/ListText.h"
#include "registry/RegFileFormat.h"
#include "registry/RegKey.h"
#include "registry/RegKeyPath.h"
#include "registry/modCore.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace {

// Chrome takes no more site searches from its policy.
constexpr std::size_t ChromeLimit = 100;

// An exported engine: its prefix as the list holds it (for the report), its prefix and URL in UTF-8 and the
// name a person recognises it by.
struct Engine {
    std::string Prefix;
    std::string Keyword;
    std::string Url;
    std::string Name;
};

std::string FieldOf(const EngineRow& row, std::string_view key) {
    return GetField(row.Tag, key, "\t", "=", "");
}

// The host of the URL: what follows "//" up to the path, without a user name or a port.
std::string_view HostOf(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) {
        return {};
    }
    std::string_view host = url.substr(scheme + 3);
    host = host.substr(0, host.find_first_of("/?#"));
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) {
        host.remove_prefix(at + 1);
    }
    if (const std::size_t colon = host.rfind(':'); colon != std::string_view::npos && !host.ends_with(']')) {
        host = host.substr(0, colon);
    }
    return host;
}

// Why the engine cannot be exported in the format, or nothing when it can.
std::optional<std::string> Refusal(std::string_view prefix, std::string_view url, ExportFormat format) {
    if (prefix.empty()) {
        return "it has no prefix";
    }
    if (prefix.find_first_of(" \t") != std::string_view::npos) {
        return "its prefix has a space";
    }
    if (url.find("%s") == std::string_view::npos) {
        return "its URL has no %s for the search text";
    }
    if (format == ExportFormat::Chrome && prefix.starts_with('@')) {
        return "Chrome keeps shortcuts starting with @ for itself";
    }
    return std::nullopt;
}

// The checked rows that the format takes, in list order, the rest in `leftOut`.
std::vector<Engine> ExportedEngines(const EngineRows& rows, ExportFormat format, EngineExport& result) {
    std::vector<Engine> engines;
    engines.reserve(rows.Count());
    std::unordered_map<std::string, std::size_t> byPrefix;
    byPrefix.reserve(rows.Count());
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        const EngineRow& row = rows.Row(index);
        if (!row.Checked) {
            continue;
        }
        ++result.Checked;
        std::string prefix = FieldOf(row, "PREFIX");
        const std::string listUrl = FieldOf(row, "URL");
        std::optional<std::string> utf8Prefix = ListTextToUtf8(prefix);
        std::optional<std::string> utf8Url = ListTextToUtf8(listUrl);
        if (!utf8Prefix || !utf8Url) {
            result.LeftOut.push_back({std::move(prefix), "its text is not in the list's encoding"});
            continue;
        }
        if (std::optional<std::string> refusal = Refusal(*utf8Prefix, *utf8Url, format)) {
            result.LeftOut.push_back({std::move(prefix), std::move(*refusal)});
            continue;
        }
        const auto [found, added] = byPrefix.try_emplace(FoldName(*utf8Prefix), engines.size());
        if (!added) {
            Engine& earlier = engines[found->second];
            result.LeftOut.push_back({earlier.Prefix, "a later engine has the prefix " + prefix});
            earlier.Prefix.clear();
            found->second = engines.size();
            // A registry key keeps the name it was created with: Install writes the later URL into the key
            // of the earlier prefix.
            if (format == ExportFormat::Reg) {
                utf8Prefix = earlier.Keyword;
            }
        }
        engines.push_back({std::move(prefix), std::move(*utf8Prefix), std::move(*utf8Url), {}});
    }
    std::erase_if(engines, [](const Engine& engine) { return engine.Prefix.empty(); });
    if (format == ExportFormat::Chrome && engines.size() > ChromeLimit) {
        for (std::size_t i = ChromeLimit; i < engines.size(); ++i) {
            result.LeftOut.push_back({engines[i].Prefix, "Chrome takes at most 100 site searches"});
        }
        engines.resize(ChromeLimit);
    }
    // Engines are named by their host; where hosts repeat, by the host and the prefix, so every name is
    // one engine's (Firefox takes one engine per name); a URL without a host names it by its prefix.
    std::unordered_map<std::string_view, std::size_t> hosts;
    hosts.reserve(engines.size());
    for (const Engine& engine : engines) {
        ++hosts[HostOf(engine.Url)];
    }
    for (Engine& engine : engines) {
        const std::string_view host = HostOf(engine.Url);
        if (host.empty()) {
            engine.Name = engine.Keyword;
        } else if (hosts[host] > 1) {
            engine.Name.append(host).append(" (").append(engine.Keyword).append(")");
        } else {
            engine.Name = host;
        }
    }
    result.Exported = engines.size();
    return engines;
}

// Appends the text with each character that `Escape` replaces (it returns what stands for it, or nothing
// for a character that stands for itself) replaced, copying the runs between them whole.
template <typename Escape> void AppendEscaped(std::string_view text, std::string& out, Escape escape) {
    std::size_t run = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (const std::string_view replacement = escape(text[at]); !replacement.empty()) {
            out.append(text, run, at - run).append(replacement);
            run = at + 1;
        }
    }
    out.append(text, run);
}

void AppendHtml(std::string_view text, std::string& out) {
    AppendEscaped(text, out, [](char c) -> std::string_view {
        switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        default:
            return {};
        }
    });
}

// A JSON string of the text: quoted, with the quote, the backslash and the control characters escaped.
void AppendJson(std::string_view text, std::string& out) {
    static constexpr std::array<std::string_view, 0x20> Controls = {
        "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
        "\\u0008", "\\u0009", "\\u000a", "\\u000b", "\\u000c", "\\u000d", "\\u000e", "\\u000f",
        "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
        "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
    };
    out += '"';
    AppendEscaped(text, out, [](char c) -> std::string_view {
        if (c == '"') {
            return "\\\"";
        }
        if (c == '\\') {
            return "\\\\";
        }
        const auto byte = static_cast<unsigned char>(c);
        return byte < Controls.size() ? Controls[byte] : std::string_view{};
    });
    out += '"';
}

// The URL as a browser's template: "{searchTerms}" for each "%s".
std::string TemplateOf(std::string_view url) {
    std::string out;
    for (std::size_t at = url.find("%s"); at != std::string_view::npos; at = url.find("%s")) {
        out.append(url.substr(0, at)).append("{searchTerms}");
        url.remove_prefix(at + 2);
    }
    return out.append(url);
}

std::string Bookmarks(const std::vector<Engine>& engines) {
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n"
                      "<DL><p>\n"
                      "    <DT><H3>IE Vantrel Search Engines</H3>\n"
                      "    <DL><p>\n";
    for (const Engine& engine : engines) {
        out += "        <DT><A HREF=\"";
        AppendHtml(engine.Url, out);
        out += "\" SHORTCUTURL=\"";
        AppendHtml(engine.Keyword, out);
        out += "\">";
        AppendHtml(engine.Name, out);
        out += "</A>\n";
    }
    return out + "    </DL><p>\n</DL><p>\n";
}

// The keys Install writes for the engines, after the removal of the SearchUrl tree that Install does first.
std::string RegFile(const std::vector<Engine>& engines) {
    std::string_view searchUrl = SearchUrlKeyPath;
    searchUrl.remove_suffix(1);
    RegKey root{std::string()};
    RegKey* key = &root;
    std::vector<std::string_view> names;
    // The SearchUrl path is a constant of a few short names, which always splits.
    static_cast<void>(SplitKeyPath(searchUrl, names));
    for (std::string_view name : names) {
        key = &key->ChildOrNew(name);
    }
    for (const Engine& engine : engines) {
        RegKey& shortcut = key->ChildOrNew(engine.Keyword);
        for (RegNamedValue& value : ShortcutValues(engine.Url)) {
            shortcut.SetValue(value.Name, std::move(value.Value));
        }
    }
    return FormatRegFileReplacing(searchUrl, root);
}

std::string FirefoxPolicy(const std::vector<Engine>& engines) {
    std::string out = "{\n  \"policies\": {\n    \"SearchEngines\": {\n      \"Add\": [";
    const char* separator = "\n";
    for (const Engine& engine : engines) {
        out += separator;
        out += "        {\n          \"Name\": ";
        AppendJson(engine.Name, out);
        out += ",\n          \"URLTemplate\": ";
        AppendJson(TemplateOf(engine.Url), out);
        out += ",\n          \"Method\": \"GET\",\n          \"Alias\": ";
        AppendJson(engine.Keyword, out);
        out += "\n        }";
        separator = ",\n";
    }
    return out + (engines.empty() ? "]\n" : "\n      ]\n") + "    }\n  }\n}\n";
}

std::string ChromePolicy(const std::vector<Engine>& engines) {
    std::string out = "{\n  \"SiteSearchSettings\": [";
    const char* separator = "\n";
    for (const Engine& engine : engines) {
        out += separator;
        out += "    {\n      \"name\": ";
        AppendJson(engine.Name, out);
        out += ",\n      \"shortcut\": ";
        AppendJson(engine.Keyword, out);
        out += ",\n      \"url\": ";
        AppendJson(TemplateOf(engine.Url), out);
        out += "\n    }";
        separator = ",\n";
    }
    return out + (engines.empty() ? "]\n" : "\n  ]\n") + "}\n";
}

} // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, ExportFormat>, 4> Names = {{
        {"bookmarks", ExportFormat::Bookmarks},
        {"reg", ExportFormat::Reg},
        {"firefox", ExportFormat::Firefox},
        {"chrome", ExportFormat::Chrome},
    }};
    for (const auto& [known, format] : Names) {
        if (SameName(name, known)) {
            return format;
        }
    }
    return std::nullopt;
}

EngineExport ExportEngines(const EngineRows& rows, ExportFormat format) {
    EngineExport result;
    const std::vector<Engine> engines = ExportedEngines(rows, format, result);
    switch (format) {
    case ExportFormat::Bookmarks:
        result.Bytes = Bookmarks(engines);
        break;
    case ExportFormat::Reg:
        result.Bytes = RegFile(engines);
        break;
    case ExportFormat::Firefox:
        result.Bytes = FirefoxPolicy(engines);
        break;
    case ExportFormat::Chrome:
        result.Bytes = ChromePolicy(engines);
        break;
    }
    return result;
}

PromptMessage ExportReport(const EngineExport& exported, const Status& written) {
    PromptMessage message;
    message.Title = "ExportEngines()";
    if (!written.ok()) {
        message.Icon = PromptIcon::Exclamation;
        message.Text =
            JoinLines({"The engines could not be exported.", "", "Because: " + written.description()});
        return message;
    }
    message.Text = std::to_string(exported.Exported) + " of " + std::to_string(exported.Checked) +
                   " checked engines have been exported.";
    if (exported.LeftOut.empty()) {
        return message;
    }
    message.Icon = PromptIcon::Exclamation;
    message.Text += "\r\n\r\nThese engines were left out:";
    for (const LeftOutEngine& engine : exported.LeftOut) {
        message.Text += "\r\n" + engine.Prefix + ": " + engine.Reason;
    }
    return message;
}

bool ExportEnginesToFile(const EngineRows& rows, ExportFormat format, const std::string& path,
                         Prompt& prompt) {
    const EngineExport exported = ExportEngines(rows, format);
    const Status written = ReplaceFileAtomically(path, exported.Bytes);
    prompt.Show(ExportReport(exported, written));
    return written.ok() && exported.LeftOut.empty();
}
