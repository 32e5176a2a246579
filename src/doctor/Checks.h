// The doctor's checks: each looks at what the readers gathered and reports
// one family of problems.
#pragma once

namespace qm::doctor {

struct GameFacts;
class Findings;

// Named files the player's look-up cannot find, and found files that do not
// decode; item names without an item file.
void checkNamedFiles(const GameFacts& facts, Findings& findings);

// Every piece of script: compiles, calls the action library with the right
// number of arguments, creates only objects and components the player
// provides. Literal GoToFrame targets join facts.frameReferences.
void checkScripts(GameFacts& facts, Findings& findings);

// Frame names that name no frame.
void checkFrameNames(const GameFacts& facts, Findings& findings);

// Frames no path from the initial frame reaches (notes).
void checkReachability(const GameFacts& facts, Findings& findings);

// Variable names the Variables file does not declare.
void checkVariables(const GameFacts& facts, Findings& findings);

}  // namespace qm::doctor
