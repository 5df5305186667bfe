#pragma once

#include "design/design_run.h"

namespace tavrin {

// Runs a design file for the "Design" menu command. Tests replace it, so that no design runs.
// runDesign is called on a worker thread, never on the thread of the windows.
class DesignHost {
public:
    virtual ~DesignHost() = default;
    virtual design::DesignRunResult runDesign(const design::DesignRunOptions& options) = 0;
};

// The design engine itself.
class EngineDesignHost : public DesignHost {
public:
    design::DesignRunResult runDesign(const design::DesignRunOptions& options) override {
        return design::runDesign(options);
    }
};

} // namespace tavrin
