#include "registry/SearchFix.h"

#include "registry/modCore.h"
#include "registry/modRegistry.h"

#include <cstdint>

namespace {

// The browser vendor's own hosts, as a fresh installation of the browser has them.
constexpr std::string_view VendorMainHost = "www.microsoft.com";
constexpr std::string_view VendorSearchHost = "search.msn.com";
constexpr std::string_view VendorHomeHost = "home.microsoft.com";
constexpr std::string_view VendorAssistantHost = "ie.search.msn.com";

std::string Address(std::string_view host, std::string_view path) {
    return "http://" + std::string(host) + std::string(path);
}

enum class FixKind { Binary, Dword, Text, Key, Shortcut };

struct FixStep {
    FixKind Kind;
    std::string_view Path;
    std::string_view Name;
    std::string Text;
    std::int32_t Number = 0;
};

std::vector<FixStep> SearchFixSteps() {
    constexpr std::string_view Main = "Software\\Microsoft\\Internet Explorer\\Main";
    constexpr std::string_view MainSlash = "Software\\Microsoft\\Internet Explorer\\Main\\";
    constexpr std::string_view Hooks = "Software\\Microsoft\\Internet Explorer\\URLSearchHooks";
    constexpr std::string_view DefaultMain = ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main";
    constexpr std::string_view Search = "Software\\Microsoft\\Internet Explorer\\Search";
    constexpr std::string_view DefaultPrefix =
        "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix";
    constexpr std::string_view Prefixes = "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes";
    const std::string redirect = Address(VendorMainHost, "/isapi/redir.dll?prd=ie&ar=iesearch");
    const std::string searchBar = Address(VendorSearchHost, "/spbasic.htm");
    return {
        {FixKind::Binary, MainSlash, "Do404Search-DELME", "", 1},
        {FixKind::Text, MainSlash, "Search Page", redirect},
        {FixKind::Text, MainSlash, "Search Bar", searchBar},
        {FixKind::Dword, MainSlash, "Use Custom Search URL", "", 0},
        {FixKind::Key, Hooks, "", ""},
        {FixKind::Text, Hooks, "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}", ""},
        {FixKind::Shortcut, SearchUrlKeyPath, "", Address(VendorHomeHost, "/access/autosearch.asp?p=%s")},
        {FixKind::Text, DefaultMain, "Search Page", redirect},
        {FixKind::Text, DefaultMain, "Search Bar", searchBar},
        {FixKind::Text, Search, "SearchAssistant",
         Address(VendorAssistantHost, "/{SUB_RFC1766}/srchasst/srchasst.htm")},
        {FixKind::Text, Search, "CustomizeSearch",
         Address(VendorAssistantHost, "/{SUB_RFC1766}/srchasst/srchcust.htm")},
        {FixKind::Text, Search, "Default_Search_URL", redirect},
        {FixKind::Text, Main, "Default_Search_URL", redirect},
        {FixKind::Text, Main, "Search Page", redirect},
        {FixKind::Text, DefaultPrefix, "@", "http://"},
        {FixKind::Text, Prefixes, "ftp", "ftp://"},
        {FixKind::Text, Prefixes, "gopher", "gopher://"},
        {FixKind::Text, Prefixes, "home", "http://"},
        {FixKind::Text, Prefixes, "mosaic", "http://"},
        {FixKind::Text, Prefixes, "http", "http://"},
    };
}

Status RunStep(RegistryStore& store, const FixStep& step) {
    constexpr RegRoot root = RegRoot::CurrentUser;
    switch (step.Kind) {
    case FixKind::Binary:
        return WriteBinaryValue(store, root, step.Path, step.Name, step.Number);
    case FixKind::Dword:
        return WriteDwordValue(store, root, step.Path, step.Name, step.Number);
    case FixKind::Text:
        return WriteStringValue(store, root, step.Path, step.Name, step.Text);
    case FixKind::Key:
        return EnsureKey(store, root, step.Path);
    case FixKind::Shortcut:
        return InstallShortcut(store, "", step.Text);
    }
    return {};
}

} // namespace

std::vector<SearchFixFailure> ApplySearchFix(RegistryStore& store) {
    const std::vector<FixStep> steps = SearchFixSteps();
    std::vector<SearchFixFailure> failures;
    RegistryBatch batch(store);
    if (batch.Started().ok()) {
        for (const FixStep& step : steps) {
            if (Status done = RunStep(store, step); !done.ok()) {
                failures.push_back({std::string(step.Path), std::string(step.Name), done});
            }
        }
    }
    // A store that could not be read or written took none of the steps.
    if (Status committed = batch.Commit(); !committed.ok()) {
        failures.clear();
        for (const FixStep& step : steps) {
            failures.push_back({std::string(step.Path), std::string(step.Name), committed});
        }
    }
    return failures;
}
