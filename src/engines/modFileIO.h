#pragma once

#include "engines/EngineRows.h"
#include "platform/Prompt.h"

#include <string>
#include <string_view>
#include <vector>

// The engine list file: one record line per engine, lines ending in CR LF (or a lone CR) on reading.

// The rows for the list file's bytes: one checked row per non-empty line, its Tag rebuilt from the line's
// PREFIX and URL fields. A UTF-8 byte-order mark at the very start is skipped.
std::vector<EngineRow> ParseEngineList(std::string_view bytes);

// The list file's bytes for the rows: every row's Tag followed by CR LF.
std::string FormatEngineList(const EngineRows& rows);

// Replaces all rows with the engines of EngineFile; reports a failed read in the "LoadEngines()" box.
void LoadEngines(EngineRows& rows, Prompt& prompt);

// Writes every row's Tag to EngineFile atomically. A failure leaves the old file, is reported in the
// "SaveEngines()" box and returns false; the rows stay as they are.
bool SaveEngines(const EngineRows& rows, Prompt& prompt);

// Replaces EngineFile with a copy of DefaultEngineFile and reloads the rows. A failed
// copy keeps the old file and the rows, and is reported in the "Error Restoring Engines" box; returns false
// then.
bool RestoreEngines(EngineRows& rows, Prompt& prompt);
