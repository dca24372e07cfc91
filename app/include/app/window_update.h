#pragma once

// What the window must do after an option was applied. The core applies the
// change; the window only redraws what these flags name.
struct WindowUpdate {
  bool KeepDialogOpen = false;  // the dialog was not closed: nothing was applied
  bool NewGameStarted = false;  // the game was abandoned and a new one dealt
  bool RebuildTitle = false;    // the frame title names the variation
  bool Relayout = false;        // the button bar moved or was shown or hidden
  bool ReloadBackdrop = false;  // scenery was switched on or off
  bool Redraw = false;          // the table looks different
  bool NewCardFaces = false;    // the cards are drawn from another face deck
  bool TablePresentation = false;  // meld marks or animation switched on or off
  bool LanguageFromNextStart = false;  // another language was chosen: the window says when it comes
  bool Close = false;           // no networks could be loaded: close without saving
};
