// Reading the project information file Config/General.
#pragma once

namespace qm::startup {

class RecordReader;
struct ProjectInformation;

// Reads the fields in file order into `p`, returning early where an older
// editor ended the file. Throws qm::VbError at a malformed field.
void ReadProjectInformationFields(RecordReader& in, ProjectInformation& p);

// Every project information field takes its default.
void SetDefaultProjectInformation();

// Defaults, then the fields of Config/General in order, stopping at the end of
// the file where older editors ended it. A file that cannot be read shows the
// standard error report " Error loading project information." and keeps the
// fields read so far. Returns false in that case.
bool LoadProjectInformation();

}  // namespace qm::startup
