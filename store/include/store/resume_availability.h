#pragma once

class SettingsStore;

// Whether the Resume Game command is offered: while the saved game found at
// start-up is there (written, and in the current format), and never again
// after one attempt to resume, whatever its outcome.
class ResumeAvailability {
 public:
  void CheckSettings(SettingsStore& store);
  bool IsOffered() const { return Resumable && !Attempted; }
  void NoteAttempt() { Attempted = true; }

 private:
  bool Resumable = false;
  bool Attempted = false;
};
