#include "ui/spoken_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstdlib>

#include "game/language_choice.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/help_topics.h"

namespace {

const char* ReadEnvironment(const char* name) { return std::getenv(name); }

std::string OwnName(const std::string& code) {
  for (const KnownLanguage& known : KNOWN_LANGUAGES)
    if (known.Code == code) return std::string(known.OwnName);
  return code;
}

}  // namespace

std::string SpokenLanguage::Speak(const std::string& choice, const std::string& installation) {
  const std::string code = LanguageToUse(choice, ReadEnvironment);
  const std::string problem = SpeakLanguage(code, installation);
  InUse = problem.empty() ? code : std::string(ENGLISH);
  if (QtTexts) QCoreApplication::removeTranslator(QtTexts.get());
  QtTexts.reset();
  if (InUse != ENGLISH) {
    auto translator = std::make_unique<QTranslator>();
    // Without Debian's Qt translations the standard buttons stay English.
    if (translator->load(QStringLiteral("qtbase_") + QString::fromStdString(InUse),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(translator.get());
      QtTexts = std::move(translator);
    }
  }
  // A language the player chose brings its numbers' form; the desktop's
  // language goes with the desktop's locale.
  QLocale::setDefault(IsKnownLanguage(choice) ? QLocale(QString::fromStdString(InUse)) : QLocale::system());
  SetHelpLanguage(QString::fromStdString(InUse));
  if (problem.empty()) return {};
  return FillIn(ResourceString(LANGUAGE_UNREADABLE), OwnName(code), problem);
}
