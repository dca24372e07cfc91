#pragma once

#include <cstdint>
#include <string>

enum MessageIcon : uint32_t { ICON_NONE = 0, ICON_EXCLAMATION = 1, ICON_ERROR = 2 };

// The message boxes an application shows outside a table: choosing,
// creating and removing player configurations happens before any table
// exists, so it needs only these two, not a whole presentation.
class UserMessages {
 public:
  virtual ~UserMessages() = default;

  // A modal box with an OK button; the caption is a resource string, the
  // text is composed at run time (names and paths in it).
  virtual void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) = 0;
  // A modal Yes/No box with the exclamation icon; true for yes. Every
  // implementation must really ask: a silent "no" would skip what the
  // person asked for without telling them.
  virtual bool ConfirmText(uint32_t captionId, const std::string& text) = 0;
};
