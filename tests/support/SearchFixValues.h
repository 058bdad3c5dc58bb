#pragma once

#include "registry/RegistryStore.h"

#include <optional>
#include <string>
#include <vector>

// The search fix's twenty steps as the registry holds them afterwards: the key as the step names it, the
// value's name, and the value (none for the step that only makes its key).
struct SearchFixValue {
    std::string Key;
    std::string Name;
    std::optional<RegValue> Value;
};

inline std::vector<SearchFixValue> SearchFixValues() {
    const std::string ie = "Software\\Microsoft\\Internet Explorer\\";
    const std::string prefixes = "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes";
    const std::string redirect = "http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch";
    const std::string searchBar = "http://search.msn.com/spbasic.htm";
    const std::string assistant = "http://ie.search.msn.com/{SUB_RFC1766}/srchasst/";
    const auto text = [](std::string data) { return RegValue{RegType::String, std::move(data)}; };
    return {{ie + "Main\\", "Do404Search-DELME", RegValue{RegType::Binary, std::string("\x01\0\0\0", 4)}},
            {ie + "Main\\", "Search Page", text(redirect)},
            {ie + "Main\\", "Search Bar", text(searchBar)},
            {ie + "Main\\", "Use Custom Search URL", RegValue{RegType::Dword, std::string(4, '\0')}},
            {ie + "URLSearchHooks", "", std::nullopt},
            {ie + "URLSearchHooks", "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}", text("")},
            {ie + "SearchUrl\\", "", text("http://home.microsoft.com/access/autosearch.asp?p=%s")},
            {".DEFAULT\\" + ie + "Main", "Search Page", text(redirect)},
            {".DEFAULT\\" + ie + "Main", "Search Bar", text(searchBar)},
            {ie + "Search", "SearchAssistant", text(assistant + "srchasst.htm")},
            {ie + "Search", "CustomizeSearch", text(assistant + "srchcust.htm")},
            {ie + "Search", "Default_Search_URL", text(redirect)},
            {ie + "Main", "Default_Search_URL", text(redirect)},
            {ie + "Main", "Search Page", text(redirect)},
            {"Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", "@", text("http://")},
            {prefixes, "ftp", text("ftp://")},
            {prefixes, "gopher", text("gopher://")},
            {prefixes, "home", text("http://")},
            {prefixes, "mosaic", text("http://")},
            {prefixes, "http", text("http://")}};
}
