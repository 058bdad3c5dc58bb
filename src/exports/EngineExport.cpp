#include "exports/EngineExport.h"

#include "engines/modParse.h"
#include "exports/PositionIndex.h"
#include "platform/AtomicFile.h"
#include "platform/EscapedText.h"
#include "platform/LargeText.h"
#include "registry/ListText.h"
#include "registry/RegFileFormat.h"
#include "registry/RegKey.h"
#include "registry/modCore.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>

using namespace std::string_view_literals;

namespace {

// Chrome takes no more site searches from its policy.
constexpr std::size_t ChromeLimit = 100;

// An exported engine: its row (for the report; 0 once a later row has taken its prefix), its prefix and URL
// in UTF-8 (views of the row's text, or of its conversion), its URL's host and whether another exported
// engine has that host, and the hashes its prefix and host are found by.
struct Engine {
    std::size_t Row = 0;
    std::string_view Keyword;
    std::string_view Url;
    std::string_view Host;
    bool SharedHost = false;
    std::size_t KeywordHash = 0;
    std::size_t HostHash = 0;
};

// The engines, with the texts their views may hold but the rows do not: conversions to UTF-8, and the hosts
// side by side, where comparing them does not wait for the rows' texts to come back into the cache. (A
// deque's elements stay where they are when it grows or moves.)
struct Engines {
    std::vector<Engine> List;
    std::deque<std::string> Texts;
};

// The characters that end a URL's host or cut it: the path's, the query's and the fragment's, the user
// name's and the port's.
constexpr std::array<bool, 256> HostMarks = [] {
    std::array<bool, 256> marks{};
    for (const char c : "/?#@:"sv) {
        marks[static_cast<unsigned char>(c)] = true;
    }
    return marks;
}();

// The host of the URL: what follows "//" up to the path, without a user name or a port. Found in one pass,
// as it is for every engine.
std::string_view HostOf(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) {
        return {};
    }
    std::size_t start = scheme + 3;
    std::size_t end = NextMarked(url, start, HostMarks);
    std::size_t colon = std::string_view::npos;
    for (; end < url.size(); end = NextMarked(url, end + 1, HostMarks)) {
        const char c = url[end];
        if (c == '@') {
            start = end + 1;
            colon = std::string_view::npos;
        } else if (c == ':') {
            colon = end;
        } else {
            break;
        }
    }
    // A colon inside the brackets of an IPv6 address is not the port's.
    if (colon != std::string_view::npos && url[end - 1] != ']') {
        end = colon;
    }
    return url.substr(start, end - start);
}

// The name a person recognises the engine by: its host; where hosts repeat, the host and the prefix, so that
// every name is one engine's (Firefox takes one engine per name); a URL without a host, its prefix. Built in
// `scratch` where it is neither.
std::string_view NameOf(const Engine& engine, std::string& scratch) {
    if (engine.Host.empty()) {
        return engine.Keyword;
    }
    if (!engine.SharedHost) {
        return engine.Host;
    }
    scratch.assign(engine.Host).append(" (").append(engine.Keyword).append(")");
    return scratch;
}

// Why the engine cannot be exported in the format, or nothing when it can.
std::optional<std::string> Refusal(std::string_view prefix, std::string_view url, ExportFormat format) {
    if (prefix.empty()) {
        return "it has no prefix";
    }
    if (std::ranges::any_of(prefix, [](char c) { return c == ' ' || c == '\t'; })) {
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

std::string PrefixOf(const EngineRows& rows, std::size_t index) {
    return std::string(RowField(rows.Row(index), "PREFIX"));
}

// Marks the engines whose host another one has.
void MarkSharedHosts(std::vector<Engine>& engines) {
    PositionIndex hosts(engines.size());
    // For each engine, the first with its host, and for that one, how many have it.
    std::vector<std::size_t> firstWithHost(engines.size());
    std::vector<std::size_t> withHost(engines.size());
    for (std::size_t i = 0; i < engines.size(); ++i) {
        if (i + PositionIndex::Ahead < engines.size()) {
            hosts.Prefetch(engines[i + PositionIndex::Ahead].HostHash);
        }
        const std::string_view host = engines[i].Host;
        const std::size_t first =
            hosts.Replace(engines[i].HostHash, i, [&](std::size_t at) { return engines[at].Host == host; });
        firstWithHost[i] = first == PositionIndex::None ? i : firstWithHost[first];
        ++withHost[firstWithHost[i]];
    }
    for (std::size_t i = 0; i < engines.size(); ++i) {
        engines[i].SharedHost = withHost[firstWithHost[i]] > 1;
    }
}

// How many rows ahead of the one being read the text of a row is fetched into the cache: about as many as
// memory takes to answer.
constexpr std::size_t RowsAhead = 4;

// Starts loading the first two cache lines of the text, where a row keeps its prefix and URL.
void PrefetchText(std::string_view text) {
    __builtin_prefetch(text.data());
    __builtin_prefetch(text.data() + 64);
}

// What is left out, by the row where the list reaches it.
using LeftOutAt = std::vector<std::pair<std::size_t, LeftOutEngine>>;

// The checked rows whose texts the format takes, in list order, each with its host (but for a registry file)
// and hashes; the rest in `leftOut`.
Engines AcceptedEngines(const EngineRows& rows, ExportFormat format, LeftOutAt& leftOut,
                        std::size_t& checked) {
    Engines accepted;
    std::vector<Engine>& engines = accepted.List;
    engines.reserve(rows.Count());
    std::string& hosts = accepted.Texts.emplace_back();
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (index + RowsAhead <= rows.Count()) {
            PrefetchText(rows.Row(index + RowsAhead).Tag);
        }
        const EngineRow& row = rows.Row(index);
        if (!row.Checked) {
            continue;
        }
        ++checked;
        const auto [prefix, listUrl] = RowPrefixAndUrl(row);
        const std::optional<std::string_view> keyword = ListTextAsUtf8(prefix, accepted.Texts);
        const std::optional<std::string_view> url = ListTextAsUtf8(listUrl, accepted.Texts);
        if (!keyword || !url) {
            leftOut.push_back({index, {std::string(prefix), "its text is not in the list's encoding"}});
            continue;
        }
        if (std::optional<std::string> refusal = Refusal(*keyword, *url, format)) {
            leftOut.push_back({index, {std::string(prefix), std::move(*refusal)}});
            continue;
        }
        // The row's texts are in the cache now, as they will not be when the engines are compared.
        const std::string_view host = format == ExportFormat::Reg ? std::string_view{} : HostOf(*url);
        hosts += host;
        engines.push_back(
            {index, *keyword, *url, host, false, FoldedHash(*keyword), std::hash<std::string_view>{}(host)});
    }
    for (std::size_t at = 0; Engine & engine : engines) {
        engine.Host = std::string_view(hosts).substr(at, engine.Host.size());
        at += engine.Host.size();
    }
    return accepted;
}

// Leaves out each engine whose prefix a later one has, as Install keeps the later.
void LeaveOutEarlierOfSamePrefix(std::vector<Engine>& engines, const EngineRows& rows, ExportFormat format,
                                 LeftOutAt& leftOut) {
    PositionIndex byPrefix(engines.size());
    for (std::size_t i = 0; i < engines.size(); ++i) {
        if (i + PositionIndex::Ahead < engines.size()) {
            byPrefix.Prefetch(engines[i + PositionIndex::Ahead].KeywordHash);
        }
        Engine& engine = engines[i];
        const std::size_t earlierAt = byPrefix.Replace(engine.KeywordHash, i, [&](std::size_t at) {
            return SameName(engines[at].Keyword, engine.Keyword);
        });
        if (earlierAt == PositionIndex::None) {
            continue;
        }
        Engine& earlier = engines[earlierAt];
        leftOut.push_back(
            {engine.Row,
             {PrefixOf(rows, earlier.Row), "a later engine has the prefix " + PrefixOf(rows, engine.Row)}});
        earlier.Row = 0;
        // A registry key keeps the name it was created with: Install writes the later URL into the key of
        // the earlier prefix.
        if (format == ExportFormat::Reg) {
            engine.Keyword = earlier.Keyword;
        }
    }
    std::erase_if(engines, [](const Engine& engine) { return engine.Row == 0; });
}

// The checked rows that the format takes, in list order, the rest in the result's `LeftOut`: each where the
// list reaches it, then those beyond Chrome's limit.
Engines ExportedEngines(const EngineRows& rows, ExportFormat format, EngineExport& result) {
    LeftOutAt leftOut;
    Engines exported = AcceptedEngines(rows, format, leftOut, result.Checked);
    std::vector<Engine>& engines = exported.List;
    LeaveOutEarlierOfSamePrefix(engines, rows, format, leftOut);
    std::ranges::stable_sort(leftOut, {}, &LeftOutAt::value_type::first);
    for (auto& [row, engine] : leftOut) {
        result.LeftOut.push_back(std::move(engine));
    }
    if (format == ExportFormat::Chrome && engines.size() > ChromeLimit) {
        for (std::size_t i = ChromeLimit; i < engines.size(); ++i) {
            result.LeftOut.push_back(
                {PrefixOf(rows, engines[i].Row), "Chrome takes at most 100 site searches"});
        }
        engines.resize(ChromeLimit);
    }
    if (format != ExportFormat::Reg) {
        MarkSharedHosts(engines);
    }
    result.Exported = engines.size();
    return exported;
}

// About how many characters the engines' texts take in a file: each written twice at most (the URL of a
// policy, as the template and as written), with `perEngine` of the format's own around them.
std::size_t FileSize(const std::vector<Engine>& engines, std::size_t perEngine) {
    std::size_t size = 1024;
    for (const Engine& engine : engines) {
        size += perEngine + 2 * (engine.Url.size() + engine.Keyword.size());
    }
    return size;
}

constexpr std::string_view HtmlEscape(char c) {
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
}

void AppendHtml(std::string_view text, std::string& out) {
    static constexpr std::array<bool, 256> Escaped = EscapedBy(HtmlEscape);
    AppendEscaped(text, out, Escaped, HtmlEscape);
}

constexpr std::array<std::string_view, 0x20> JsonControls = {
    "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
    "\\u0008", "\\u0009", "\\u000a", "\\u000b", "\\u000c", "\\u000d", "\\u000e", "\\u000f",
    "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
    "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
};

constexpr std::string_view JsonEscape(char c) {
    if (c == '"') {
        return "\\\"";
    }
    if (c == '\\') {
        return "\\\\";
    }
    const auto byte = static_cast<unsigned char>(c);
    return byte < JsonControls.size() ? JsonControls[byte] : std::string_view{};
}

constexpr std::array<bool, 256> JsonEscaped = EscapedBy(JsonEscape);

// A JSON string of the text: quoted, with the quote, the backslash and the control characters escaped.
void AppendJson(std::string_view text, std::string& out) {
    out += '"';
    AppendEscaped(text, out, JsonEscaped, JsonEscape);
    out += '"';
}

// A JSON string of the URL as a browser's template, "{searchTerms}" for each "%s".
void AppendJsonTemplate(std::string_view url, std::string& out) {
    out += '"';
    for (std::size_t at = url.find("%s"); at != std::string_view::npos; at = url.find("%s")) {
        AppendEscaped(url.substr(0, at), out, JsonEscaped, JsonEscape);
        out += "{searchTerms}"sv;
        url.remove_prefix(at + 2);
    }
    AppendEscaped(url, out, JsonEscaped, JsonEscape);
    out += '"';
}

// Calls `write` with each engine in turn, the text of those a few ahead already on its way into the cache.
template <typename Write> void ForEachEngine(const std::vector<Engine>& engines, Write write) {
    for (std::size_t i = 0; i < engines.size(); ++i) {
        if (i + RowsAhead < engines.size()) {
            PrefetchText(engines[i + RowsAhead].Url);
        }
        write(engines[i]);
    }
}

std::string Bookmarks(const std::vector<Engine>& engines) {
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n"
                      "<DL><p>\n"
                      "    <DT><H3>IE Vantrel Search Engines</H3>\n"
                      "    <DL><p>\n";
    ReserveLargeText(out, FileSize(engines, 64));
    std::string name;
    ForEachEngine(engines, [&](const Engine& engine) {
        out += "        <DT><A HREF=\""sv;
        AppendHtml(engine.Url, out);
        out += "\" SHORTCUTURL=\""sv;
        AppendHtml(engine.Keyword, out);
        out += "\">"sv;
        AppendHtml(NameOf(engine, name), out);
        out += "</A>\n"sv;
    });
    out += "    </DL><p>\n</DL><p>\n"sv;
    return out;
}

// The keys Install writes for the engines, after the removal of the SearchUrl tree that Install does first:
// the keys above SearchUrl, SearchUrl and a key per engine, as the registry editor exports them.
std::string RegFile(const std::vector<Engine>& engines) {
    std::string_view searchUrl = SearchUrlKeyPath;
    searchUrl.remove_suffix(1);
    RegFileWriter file(RegFileEncoding::Utf16);
    file.Reserve(FileSize(engines, 80 + SearchUrlKeyPath.size()));
    file.RemoveTree(searchUrl);
    for (std::size_t end = searchUrl.find('\\');; end = searchUrl.find('\\', end + 1)) {
        file.Key(searchUrl.substr(0, end), {});
        if (end == std::string_view::npos) {
            break;
        }
    }
    std::string path(SearchUrlKeyPath);
    // Every shortcut has these values, its URL the default one and the escapes the same in every key.
    std::vector<RegNamedValue> values = ShortcutValues({});
    const RegFileValues escapes(std::span<const RegNamedValue>(values).subspan(1));
    values.resize(1);
    std::string& url = values.front().Value.Data;
    ForEachEngine(engines, [&](const Engine& engine) {
        path.resize(SearchUrlKeyPath.size());
        path += engine.Keyword;
        url.assign(engine.Url);
        file.Key(path, values, escapes);
    });
    return std::move(file).Finish();
}

std::string FirefoxPolicy(const std::vector<Engine>& engines) {
    std::string out = "{\n  \"policies\": {\n    \"SearchEngines\": {\n      \"Add\": [";
    ReserveLargeText(out, FileSize(engines, 160));
    std::string name;
    std::string_view separator = "\n";
    ForEachEngine(engines, [&](const Engine& engine) {
        out += separator;
        out += "        {\n          \"Name\": "sv;
        AppendJson(NameOf(engine, name), out);
        out += ",\n          \"URLTemplate\": "sv;
        AppendJsonTemplate(engine.Url, out);
        out += ",\n          \"Method\": \"GET\",\n          \"Alias\": "sv;
        AppendJson(engine.Keyword, out);
        out += "\n        }"sv;
        separator = ",\n";
    });
    out.append(engines.empty() ? "]\n" : "\n      ]\n").append("    }\n  }\n}\n");
    return out;
}

std::string ChromePolicy(const std::vector<Engine>& engines) {
    std::string out = "{\n  \"SiteSearchSettings\": [";
    std::string name;
    std::string_view separator = "\n";
    ForEachEngine(engines, [&](const Engine& engine) {
        out += separator;
        out += "    {\n      \"name\": "sv;
        AppendJson(NameOf(engine, name), out);
        out += ",\n      \"shortcut\": "sv;
        AppendJson(engine.Keyword, out);
        out += ",\n      \"url\": "sv;
        AppendJsonTemplate(engine.Url, out);
        out += "\n    }"sv;
        separator = ",\n";
    });
    out.append(engines.empty() ? "]\n" : "\n  ]\n").append("}\n");
    return out;
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
    const Engines engines = ExportedEngines(rows, format, result);
    switch (format) {
    case ExportFormat::Bookmarks:
        result.Bytes = Bookmarks(engines.List);
        break;
    case ExportFormat::Reg:
        result.Bytes = RegFile(engines.List);
        break;
    case ExportFormat::Firefox:
        result.Bytes = FirefoxPolicy(engines.List);
        break;
    case ExportFormat::Chrome:
        result.Bytes = ChromePolicy(engines.List);
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
