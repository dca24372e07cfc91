#pragma once

// The table is drawn into several pictures of the window's size, made anew
// at every size. Pages the process has never touched are costly to fault in
// (on virtual machines many times more than the drawing itself), so freed
// pictures stay with the process for the next size to reuse, and the room
// the first pictures of a new size take is faulted in with huge pages where
// the system offers them. Called once; later calls do nothing.
void KeepFreedPicturesInProcess();
