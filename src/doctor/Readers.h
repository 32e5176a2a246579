// The doctor's readers: each reads one family of a game's files with the
// player's own readers, reports what does not parse, and gathers into
// GameFacts what the files name.
#pragma once

namespace qm::doctor {

struct GameFacts;
class Findings;

// Config: General (must be read first), Texts, More, Variables, Procedures,
// Plugins and their definitions, Resume, CDContents; the welcome scheme.
void readProjectFiles(GameFacts& facts, Findings& findings);

// Every frame of the Frames folder and its files in Frames and FramesData.
void readFrameFiles(GameFacts& facts, Findings& findings);

// The item files of the Areas folder (.obj icons, .drg combinations).
void readItemFiles(GameFacts& facts, Findings& findings);

}  // namespace qm::doctor
