#include "registry/RegistryCommands.h"

#include "registry/SearchFix.h"
#include "registry/modCore.h"

#include <string>
#include <vector>

namespace {

PromptMessage RemovalReport(const Status& status) {
    if (status.ok()) {
        return {"Remove Shortcuts", "All search shortcuts have been removed.", PromptIcon::Information,
                PromptButtons::Ok};
    }
    return {"Remove Shortcuts",
            JoinLines({"The search shortcuts could not be removed.", "", "Because: " + status.description()}),
            PromptIcon::Exclamation, PromptButtons::Ok};
}

PromptMessage SearchFixQuestion() {
    return {"IE Search Fix",
            JoinLines({"Some installations of Internet Explorer cease to allow searching",
                       "from the address bar when anti-virus or spyware-removal tools",
                       "are used. Use this to fix the problem.", "",
                       "As is standard procedure with software that modifies the registry,",
                       "replying Yes is entirely at your own risk.", "", "Do you want to apply this fix?"}),
            PromptIcon::Question, PromptButtons::YesNo};
}

// Some steps name their key with its trailing backslash; the value name follows exactly one.
std::string ValuePath(const SearchFixFailure& failure) {
    const bool separated = !failure.KeyPath.empty() && failure.KeyPath.back() == '\\';
    return failure.KeyPath + (separated ? "" : "\\") + failure.ValueName;
}

PromptMessage SearchFixReport(const std::vector<SearchFixFailure>& failures) {
    if (failures.empty()) {
        return {
            "IE Search Fix",
            JoinLines({"The fix has been applied.", "If searching still doesn't work, then try restarting."}),
            PromptIcon::Information, PromptButtons::Ok};
    }
    std::string text = JoinLines({"The fix could not be applied completely.", ""});
    for (const SearchFixFailure& failure : failures) {
        text += "\r\nNot written: " + ValuePath(failure);
    }
    // A store that cannot be read fails every step for the same reason; name it once.
    text += "\r\n\r\nBecause: " + failures.front().Reason.description();
    return {"IE Search Fix", text, PromptIcon::Exclamation, PromptButtons::Ok};
}

} // namespace

void RemoveShortcutsCommand(RegistryStore& store, Prompt& prompt) {
    prompt.Show(RemovalReport(RemoveAllShortcuts(store)));
}

void SearchFixCommand(RegistryStore& store, Prompt& prompt) {
    if (prompt.Show(SearchFixQuestion()) != PromptAnswer::Yes) {
        return;
    }
    prompt.Show(SearchFixReport(ApplySearchFix(store)));
}
