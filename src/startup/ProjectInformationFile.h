// Reading the project information file Config/General.
#pragma once

namespace qm::startup {

// Every project information field takes its default.
void SetDefaultProjectInformation();

// Defaults, then the fields of Config/General in order, stopping at the end of
// the file where older editors ended it. A file that cannot be read shows the
// standard error report " Error loading project information." and keeps the
// fields read so far. Returns false in that case.
bool LoadProjectInformation();

}  // namespace qm::startup
