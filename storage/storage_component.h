// TZvComponent: the common base of the settings store, the form placement,
// the window hook and the macro expander.
#pragma once

#include "classlib/core/classes.h"

class TZvComponent : public TComponent {
    QL_CLASS(TZvComponent, TComponent)
public:
    using TComponent::TComponent;
};
