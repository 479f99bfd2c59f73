// The numbering of the colour presets that the pager office styler, the
// panel styler and the glow button share, and the interface through which
// any of them is set to a preset by number without knowing its class:
//
//   if (IStylePreset* preset = Supports<IStylePreset>(component))
//       preset->ApplyStylePreset(psOffice2007Luna);
//
// A component implements IStylePreset by deriving from it and naming it in
// its class description (TClassBuilder<...>(...).Implements<IStylePreset>()).
// Components do not count references (TComponent answers -1 to _AddRef and
// _Release), so holding the interface, even in a TIntfPtr, never keeps a
// component alive, and letting go of it never frees one: its owner does.
#pragma once

#include "classlib/core/interfaces.h"
#include "classlib/core/typinfo.h"

// The style presets, numbered from 0 in this order: the number is what
// ApplyStylePreset takes and what the stored layout's style properties
// name. psCustom names no preset: applying it leaves the colours as they are.
enum TOfficePagerStyle {
    psOffice2003Blue,      // 0
    psOffice2003Silver,    // 1
    psOffice2003Olive,     // 2
    psOffice2003Classic,   // 3
    psOffice2007Luna,      // 4
    psOffice2007Obsidian,  // 5
    psWindowsXP,           // 6
    psWhidbey,             // 7
    psCustom,              // 8
    psOffice2007Silver,    // 9
    psWindowsVista,        // 10
    psWindows7,            // 11
    psTerminal,            // 12
};

inline constexpr int OfficePagerStyleCount = psTerminal + 1;

// Its names, for the stored layout (style_preset.cpp).
QL_DECLARE_ENUM(TOfficePagerStyle);

// Sets a component to one of the presets above.
class IStylePreset : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
    // style: a TOfficePagerStyle number. psCustom changes nothing; a number
    // outside the numbering is the implementation's to ignore.
    virtual void ApplyStylePreset(int style) = 0;

protected:
    ~IStylePreset() = default;
};
