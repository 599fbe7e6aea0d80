#pragma once
// Crash recovery: the undo snapshots an editor left behind when it did not
// end cleanly are offered back to the user, for a file when it is opened
// next, for never-saved diagrams when the editor starts. The user recovers
// (the document shows the last state, changed, its file untouched until
// saved) or discards (the snapshots are deleted). Batch runs never come here.

#include <QString>

namespace orvane {
class Document;
class DocumentRegistry;
class UserInterface;
struct LeftHistory;
}  // namespace orvane

namespace orvane::SnapshotRecovery {

// "Recover unsaved changes of NAME from TIME?" for one left history.
QString question(const LeftHistory& history);

// Asks about every left history of the document's file, newest first, until
// one is recovered into the document; a declined one is deleted. True when
// the document now shows a recovered state.
bool offerForDocument(DocumentRegistry& docs, Document& doc);

// Asks about every left history of a never-saved diagram (or of a file that
// no longer exists), newest first; each recovered one opens as a new
// document, each declined one is deleted. Returns how many opened.
int offerNewDiagrams(DocumentRegistry& docs);

// Tells the user, once per run, that no private folder can hold the undo
// snapshots, so undo is off, and why. Silent while a folder serves.
void tellIfUndoIsOff(UserInterface& ui);

}  // namespace orvane::SnapshotRecovery
