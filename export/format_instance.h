#pragma once

#include "export/project_instance.h"
#include "formats/instance.h"

namespace tavrin {

// Fills out with a completed instance, numbered as its .rcp file numbers the jobs: job 0 the dummy
// start, activity a as job a+1, job n+1 the dummy end. Successors keep the .rcp order: the start's
// in increasing number, an activity's in decreasing number, the end alone for an activity without
// successors. The provenance is left as it is; the storage of out is reused.
void fillFormatInstance(const ProjectInstance& instance, formats::Instance& out);

} // namespace tavrin
