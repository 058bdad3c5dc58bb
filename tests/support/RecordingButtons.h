#pragma once

#include "engines/modGUI.h"

// The list's three buttons as they were last set.
class RecordingButtons final : public ListButtons {
public:
    void SetEditSearchEngineEnabled(bool enabled) override { Edit = enabled; }
    void SetRemoveSearchEngineEnabled(bool enabled) override { Remove = enabled; }
    void SetInstallShortcutsEnabled(bool enabled) override { Install = enabled; }
    // 1 when all three are enabled, 0 when none is, -1 when they disagree.
    int All() const { return Edit && Remove && Install ? 1 : !Edit && !Remove && !Install ? 0 : -1; }

    bool Edit = false;
    bool Remove = false;
    bool Install = false;
};
