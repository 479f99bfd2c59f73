// TAutoSize: whether a panel (lum_panel_win.h) sizes itself to its text,
// in width, height or both.
#pragma once

#include "classlib/core/classes.h"

class TCustomLumPanel;

class TAutoSize : public TPersistent {
    QL_CLASS(TAutoSize, TPersistent)
public:
    explicit TAutoSize(TCustomLumPanel* panel = nullptr) : FPanel(panel) {}
    void Assign(TPersistent* source) override;
    bool Enabled() const { return FEnabled; }
    // Setting it on sizes the panel at once.
    void SetEnabled(bool value);
    bool Height() const { return FHeight; }
    void SetHeight(bool value) { FHeight = value; }
    bool Width() const { return FWidth; }
    void SetWidth(bool value) { FWidth = value; }

private:
    TCustomLumPanel* FPanel;
    bool FEnabled = false;
    bool FHeight = true;
    bool FWidth = true;
};
