#pragma once

#include "design/design_run.h"

#include <QProgressDialog>

namespace tavrin {

class DesignHost;

// The progress of a design run: cells done of all cells and files written, with a Cancel that
// asks the run to stop after the files under way.
class DesignProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    explicit DesignProgressDialog(QWidget* parent);

    // Runs the design on a worker thread while the windows stay painted and this dialog takes
    // the input; returns when the run has ended. A run that throws returns its message as the
    // error.
    design::DesignRunResult run(DesignHost& host, design::DesignRunOptions options);

private:
    void showProgress(const design::DesignProgress& progress);
};

} // namespace tavrin
