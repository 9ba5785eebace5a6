#pragma once
// The words of a subcommand read as options: "--name VALUE" or
// "--name=VALUE", flags "--name", the output file, and the words that are no
// options (the data file, say).
//
//   OptionList options(args);
//   const bool csv = options.TakeFlag("--csv");
//   const std::optional<std::string> output = options.TakeOutput("a file name");
//   const std::vector<std::string> files = options.TakeWords();
//   if (const std::string error = options.Error(); !error.empty()) ...
#include <optional>
#include <string>
#include <vector>

namespace acv::cli {

// Takes options one by one; whatever is left at the end is an error the
// caller reports. Nothing after a "--" is an option.
class OptionList {
 public:
  explicit OptionList(std::vector<std::string> args) : args_(std::move(args)) {}
  // The value of the last --name given (all occurrences are consumed), or
  // nullopt. "--name" without a value records the error "--name needs "
  // followed by valueWhat.
  std::optional<std::string> Take(const std::string& name,
                                  const std::string& valueWhat = "a value");
  bool TakeFlag(const std::string& name);
  // The output file: "-o FILE" or "--output FILE" (the short form wins).
  std::optional<std::string> TakeOutput(const std::string& valueWhat = "a value");
  // The words that are no options, in order: those before a "--" that do not
  // start with '-' (a lone "-" is a word), and all after it. Taken last, so
  // that each option has taken its value first.
  std::vector<std::string> TakeWords();
  // The words when a subcommand reads one data file: sets `file`, or returns
  // the usage problem ("no data file given", "one data file at a time").
  std::string TakeDataFile(std::string& file);
  // The first problem: a missing value, or an unknown word left over.
  // Empty when all words were taken.
  std::string Error() const;

 private:
  bool EndsOptions(std::size_t i) const { return args_[i] == "--"; }
  std::vector<std::string> args_;
  std::string error_;
};

// Strict decimal integer (optional sign, digits only, in int range).
std::optional<int> ParseInt(const std::string& text);

}  // namespace acv::cli
