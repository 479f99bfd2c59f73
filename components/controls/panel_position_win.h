// TPanelPosition: where a panel (lum_panel_win.h) keeps its position and
// collapsed state.
#pragma once

#include "classlib/core/classes.h"
#include "components/controls/panel_layout.h"

// Where a panel keeps its position: the INI file Key, or the registry key
// Key (under HKEY_CURRENT_USER), in section Section, when Save is set.
class TPanelPosition : public TPersistent {
    QL_CLASS(TPanelPosition, TPersistent)
public:
    void Assign(TPersistent* source) override;
    bool Save() const { return FSave; }
    void SetSave(bool value) { FSave = value; }
    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    const String& Section() const { return FSection; }
    void SetSection(const String& value) { FSection = value; }
    TPanelPositionLocation Location() const { return FLocation; }
    void SetLocation(TPanelPositionLocation value) { FLocation = value; }

private:
    bool FSave = false;
    String FKey;
    String FSection;
    TPanelPositionLocation FLocation = clRegistry;
};
