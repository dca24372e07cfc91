#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers.h"

// The options of one quorla-lab command. Every command reads them this one
// way, so that bad input is refused alike: a message naming the command and
// the help to read, on stderr, and status 2.
class CommandOptions {
 public:
  // Takes an option's value; returns what is wrong with it, empty if nothing.
  using Reader = std::function<std::string(std::string_view value)>;

  // `helpName`: the command whose --help describes this one, if another.
  CommandOptions(std::string_view name, void (*printHelp)(), std::string_view helpName = {});

  // The first `count` arguments are no options; fewer are refused with `missing`.
  void Leading(size_t count, std::string missing);
  void Flag(std::string_view name, bool& value);
  void Text(std::string_view name, std::string& value);
  void Value(std::string_view name, Reader read);

  template <class Number>
  void Whole(std::string_view name, unsigned long low, unsigned long high, Number& value) {
    Value(name, [name, low, high, &value](std::string_view text) {
      unsigned long number;
      if (!ParseWholeNumber(text, number, high) || number < low) return RangeRefusal(name, low, high, text);
      value = static_cast<Number>(number);
      return std::string();
    });
  }

  // One of the words; `value` gets the word's position among them.
  template <class Position>
  void Choice(std::string_view name, std::vector<std::string_view> words, Position& value) {
    Value(name, [name, words, &value](std::string_view text) {
      size_t i = 0;
      while (i < words.size() && text != words[i]) ++i;
      if (i == words.size()) return ChoiceRefusal(name, words, text);
      value = static_cast<Position>(i);
      return std::string();
    });
  }

  // The exit status when the command ends here: 0 once --help or -h,
  // anywhere, has printed the help; 2 after a refusal.
  std::optional<int> Parse(const std::vector<std::string_view>& args) const;
  // Refuses with `message`; returns the status.
  int Fail(const std::string& message) const;

 private:
  static std::string ChoiceRefusal(std::string_view name, const std::vector<std::string_view>& allowed,
                                   std::string_view text);

  struct Option {
    std::string_view Name;
    bool TakesValue;
    Reader Read;
  };
  std::string Name;
  std::string HelpName;
  void (*PrintHelp)();
  size_t LeadingCount = 0;
  std::string LeadingMissing;
  std::vector<Option> Options;
};
