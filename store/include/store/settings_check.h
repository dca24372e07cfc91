#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Whether the value stored for a key is one the program can use as it
// stands: the section and key as the file names them, the value as the
// reader takes it (type tag included). Supplied by whoever knows the keys.
using SettingValueRule = std::function<bool(std::string_view section, std::string_view key, std::string_view value)>;

// The verdict on a settings file's bytes. Sound is text the store's writer
// could have written, give or take what a person editing it adds: blank
// lines, ";" and "#" comments, blanks around names and values, CR LF line
// ends and a leading UTF-8 byte-order mark. Anything else is damage, and
// the program must not go on reading (and rewriting) it as if it were
// settings.
struct SettingsCheck {
  bool Sound = true;
  // The first fault, for a person to read ("line 4: a NUL byte"); empty
  // when sound.
  std::string Fault;
  // What of a damaged file can still be read: its sound section headers
  // and the sound key lines under them, with a control byte taken as a
  // line break so that the keys before it survive. Lines after one the
  // format does not have are dropped until the next sound header, since
  // which section they belong to is no longer known. Itself sound.
  std::string Salvaged;
  size_t SalvagedKeys = 0;
};

// What a line of a settings file may hold: UTF-8 text without control
// bytes, tab aside. The writer stores nothing else, so that the check never
// refuses a file the program wrote.
bool IsSettingsText(std::string_view text);

// typedValues: every value carries its type tag ("dword:" or "sz:"), as in
// the system-wide store.
SettingsCheck CheckSettingsText(std::string_view bytes, bool typedValues, const SettingValueRule& rule = {});
