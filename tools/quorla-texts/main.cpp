// quorla-texts: writes the template of the program's message catalogues
// (po/quorla.pot) from the string table, for translators' tools: each text
// is one entry whose context is its id.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "game/string_table.h"

namespace {

void PrintUsage(std::FILE* to) {
  std::fputs(
      "usage: quorla-texts pot FILE\n"
      "Writes the template of the message catalogues: every text of the string table as an\n"
      "entry whose context is the text's id and whose message is its English text. Texts\n"
      "with %1 or %2 are marked qt-format, so that msgfmt --check finds a translation whose\n"
      "placeholders differ. Update a language from it with\n"
      "  msgmerge --update --backup=none po/de.po po/quorla.pot\n",
      to);
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '\\': quoted += "\\\\"; break;
      case '"': quoted += "\\\""; break;
      case '\n': quoted += "\\n"; break;
      case '\t': quoted += "\\t"; break;
      default: quoted += c;
    }
  }
  return quoted + "\"";
}

bool HasPlaceholder(std::string_view text) {
  return text.find("%1") != std::string_view::npos || text.find("%2") != std::string_view::npos;
}

std::string Template() {
  std::string pot =
      "# The texts of Quorla, by their ids in the string table.\n"
      "msgid \"\"\n"
      "msgstr \"\"\n"
      "\"Project-Id-Version: quorla\\n\"\n"
      "\"MIME-Version: 1.0\\n\"\n"
      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
      "\"Content-Transfer-Encoding: 8bit\\n\"\n";
  for (const uint32_t id : ResourceIds()) {
    const std::string_view english = EnglishResourceString(id);
    if (english.empty()) continue;
    pot += "\n";
    if (HasPlaceholder(english)) pot += "#, qt-format\n";
    pot += "msgctxt \"" + std::to_string(id) + "\"\n";
    pot += "msgid " + Quoted(english) + "\n";
    pot += "msgstr \"\"\n";
  }
  return pot;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintUsage(stdout);
    return 0;
  }
  if (argc != 3 || std::strcmp(argv[1], "pot") != 0) {
    PrintUsage(stderr);
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << Template();
  out.close();
  if (!out) {
    std::fprintf(stderr, "quorla-texts: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
