#include "app/tavrin_windows.h"

namespace tavrin {

TavrinWindows::TavrinWindows(MessageSink& messages, DesktopShell& shell)
    : RG(messages, shell), seedv(messages), save_files(messages, shell), about(shell) {
    RG.attachDialogs(&param, &seedv, &save_files, &about);
    param.setMainWindow(&RG);
    seedv.setMainWindow(&RG);
    save_files.setHost(&RG);
}

} // namespace tavrin
