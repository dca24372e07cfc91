#include "options.h"

#include <cstdio>

CommandOptions::CommandOptions(std::string_view name, void (*printHelp)(), std::string_view helpName)
    : Name(name), HelpName(helpName.empty() ? name : helpName), PrintHelp(printHelp) {}

void CommandOptions::Leading(size_t count, std::string missing) {
  LeadingCount = count;
  LeadingMissing = std::move(missing);
}

void CommandOptions::Flag(std::string_view name, bool& value) {
  Options.push_back({name, false, [&value](std::string_view) {
                      value = true;
                      return std::string();
                    }});
}

void CommandOptions::Text(std::string_view name, std::string& value) {
  Value(name, [&value](std::string_view text) {
    value = std::string(text);
    return std::string();
  });
}

void CommandOptions::Value(std::string_view name, Reader read) { Options.push_back({name, true, std::move(read)}); }

std::optional<int> CommandOptions::Parse(const std::vector<std::string_view>& args) const {
  for (std::string_view arg : args)
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
  if (args.size() < LeadingCount) return Fail(LeadingMissing);
  for (size_t i = LeadingCount; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const Option* option = nullptr;
    for (const Option& known : Options)
      if (known.Name == arg) option = &known;
    if (!option) return Fail("unknown option '" + std::string(arg) + "'");
    if (option->TakesValue && i + 1 >= args.size()) return Fail("missing value after " + std::string(arg));
    const std::string problem = option->Read(option->TakesValue ? args[++i] : std::string_view());
    if (!problem.empty()) return Fail(problem);
  }
  return std::nullopt;
}

int CommandOptions::Fail(const std::string& message) const {
  std::fprintf(stderr, "quorla-lab %s: %s (see quorla-lab %s --help)\n", Name.c_str(), message.c_str(),
               HelpName.c_str());
  return 2;
}

std::string CommandOptions::ChoiceRefusal(std::string_view name, const std::vector<std::string_view>& allowed,
                                          std::string_view text) {
  std::string list;
  for (size_t i = 0; i < allowed.size(); ++i)
    list += (i == 0 ? "" : i + 1 < allowed.size() ? ", " : " or ") + std::string(allowed[i]);
  return std::string(name) + " takes " + list + ", not '" + std::string(text) + "'";
}
