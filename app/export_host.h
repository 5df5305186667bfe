#pragma once

#include "export/export_batch.h"

#include <QString>

namespace tavrin {

// What the Save Files dialog needs from the main window, which owns the run's networks, the
// export pool and the random source.
class ExportHost {
public:
    virtual ~ExportHost() = default;
    // Redraws the result page from its current ranges, which rebuilds the export pool. False
    // when a range text does not convert; that has been reported and the pool is empty.
    virtual bool refreshSelection() = 0;
    // The number of selected networks as the result page shows it.
    virtual QString selectedCountText() const = 0;
    // Writes the files from the pool just refreshed.
    virtual ExportBatchResult exportFiles(const ExportFileSettings& files) = 0;
    virtual void showMainWindow() = 0;
};

} // namespace tavrin
