#include "engines/EngineCommands.h"

#include "engines/modFileIO.h"
#include "engines/modGUI.h"
#include "engines/modParse.h"

#include <algorithm>
#include <functional>

namespace {

std::string RemovalQuestion(const EngineRows& rows, const std::vector<std::size_t>& bottomFirst) {
    std::string text =
        JoinLines({"This will remove the SELECTED search engines,",
                   "and not the CHECKED ones. Do you want to remove", "the following search engines?", ""});
    for (const std::size_t position : bottomFirst) {
        text += "\r\n";
        text += rows.Row(position).Text;
    }
    return text;
}

bool BreaksRecordLine(std::string_view text) {
    return text.find_first_of("\t\r\n") != std::string_view::npos;
}

} // namespace

void RemoveSelectedEngines(EngineRows& rows, std::vector<std::size_t> selected, Prompt& prompt) {
    if (rows.Count() == 0) {
        return;
    }
    std::sort(selected.begin(), selected.end(), std::greater<>());
    const PromptMessage question{"Remove Selected Engines", RemovalQuestion(rows, selected),
                                 PromptIcon::Question, PromptButtons::YesNo};
    if (prompt.Show(question) != PromptAnswer::Yes) {
        return;
    }
    rows.RemoveMany(std::move(selected));
    SaveEngines(rows, prompt);
}

void RestoreDefaultEngines(EngineRows& rows, Prompt& prompt) {
    const PromptMessage question{
        "Restore Search Engines",
        JoinLines({"This will restore your list of search engines back",
                   "to the default list that came with IE Vantrel.", "", "Do you really want to do this?"}),
        PromptIcon::Question, PromptButtons::YesNo};
    if (prompt.Show(question) == PromptAnswer::Yes) {
        RestoreEngines(rows, prompt);
    }
}

EngineFields EngineFieldsOf(const EngineRow& row) {
    const auto [prefix, url] = RowPrefixAndUrl(row);
    return {std::string(prefix), std::string(url)};
}

bool EngineFieldsAllowed(const EngineFields& fields, const std::string& caption, Prompt& prompt) {
    if (BreaksRecordLine(fields.Prefix) || BreaksRecordLine(fields.Url)) {
        prompt.Show({caption, "A prefix or URL cannot contain a TAB or a line break.",
                     PromptIcon::Exclamation, PromptButtons::Ok});
        return false;
    }
    return true;
}

bool AcceptEngine(EngineRows& rows, const EngineEdit& edit, Prompt& prompt) {
    if (!EngineFieldsAllowed({edit.Prefix, edit.Url}, edit.Caption, prompt)) {
        return false;
    }
    if (edit.EditMode != 0) {
        EngineRow row = MakeEngineRow(edit.Prefix, edit.Url);
        row.Checked = rows.Row(edit.CurrentRow).Checked;
        rows.Set(edit.CurrentRow, std::move(row));
    } else {
        AddEngineRow(rows, edit.Prefix, edit.Url);
    }
    SaveEngines(rows, prompt);
    return true;
}
