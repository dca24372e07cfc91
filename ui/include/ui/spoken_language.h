#pragma once

#include <QString>
#include <QTranslator>
#include <memory>
#include <string>

// The language the window speaks: the string table's texts, Qt's own texts
// (standard buttons, the file dialog) from the system's Qt translations,
// the numbers' form and the help pages. Chosen before the window is made;
// what is on the screen already keeps its language.
class SpokenLanguage {
 public:
  // Speaks the language the player chose (empty: the desktop's); returns
  // why the texts stay English, or an empty text.
  std::string Speak(const std::string& choice, const std::string& installation);
  const std::string& Code() const { return InUse; }

 private:
  std::unique_ptr<QTranslator> QtTexts;
  std::string InUse = "en";
};
