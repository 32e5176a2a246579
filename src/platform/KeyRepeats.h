// A key held down on X11 repeats as pairs of a release and a press. The
// toolkit marks a pair as a repeat only when the press is already waiting
// when it reads the release; often it is not, and a held key then looks like
// a quick run of separate taps (a held Space clicking, a held Enter pressing a
// button over and over). Once installed, every key event the windows get
// carries the repeat mark it should: a release while the X server still has
// the key down is a repeat, and so is the press that follows it.
#pragma once

namespace qm::platform {

// Installs the correction on the application (once; later calls do nothing).
// Off X11 the toolkit's own marks stand and nothing is installed.
void markKeyRepeats();

}  // namespace qm::platform
