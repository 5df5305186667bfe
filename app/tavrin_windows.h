#pragma once

#include "app/Aboutbox.h"
#include "app/Inputparam.h"
#include "app/Savefiles.h"
#include "app/Seedval.h"
#include "app/Tavrin.h"

namespace tavrin {

// The program's five windows, created once in this order (the members' order) and living as
// long as the program: the main window, the finished dialog, the seed dialog, the Save Files
// dialog and the about box.
struct TavrinWindows {
    TavrinWindows(MessageSink& messages, DesktopShell& shell);

    TRG RG;
    Tparam param;
    Tseedv seedv;
    Tsave_files save_files;
    Tabout about;
};

} // namespace tavrin
