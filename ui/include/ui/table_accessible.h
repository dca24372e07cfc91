#pragma once

class QAccessibleEvent;
class QuorlaClient;

// Screen readers see the table window's cards and places as its children,
// each with its name and the place it shows on the screen.

// Once per program, before the table's first window is asked about.
void InstallTableAccessibility();

// After the keyboard's focus moved, or the table changed under it: tells a
// listening screen reader which card or pile has the focus now, or its new
// name.
void AnnounceTableFocus(QuorlaClient& table);

// Besides a screen reader, `listener` hears every announcement (tests
// follow what a reader would be told); nullptr stops it.
using TableAnnouncementListener = void (*)(QAccessibleEvent* event);
void ListenToTableAnnouncements(TableAnnouncementListener listener);
