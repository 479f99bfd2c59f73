// Opening documents, folders and web addresses with the program the user
// has chosen for them.
#pragma once

#include "classlib/core/types.h"
#include "classlib/os/win.h"

// Asks the shell to "open" a file, folder or URL, as a double click in
// Explorer would: ShellExecuteA(owner, "open", pathOrUrl, 0, 0,
// SW_SHOWNORMAL). True when the shell accepted the request; callers that
// have nothing to say about a failure may ignore the result.
bool ShellOpen(HWND owner, const String& pathOrUrl);
