#include "cli/CliScaling.h"

namespace acv::cli {

std::string TakeScalingOptions(OptionList& options, ChannelScaling& scaling) {
  struct Option {
    const char* name;
    double& value;
  };
  const Option all[] = {{"--ratio-ch1", scaling[0].ratio},
                        {"--ratio-ch2", scaling[1].ratio},
                        {"--scale-ch1", scaling[0].sampleScale},
                        {"--scale-ch2", scaling[1].sampleScale}};
  std::string problem;
  for (const Option& o : all) {
    const std::optional<std::string> text = options.Take(o.name, "a number");
    if (!text || !problem.empty()) continue;
    if (!ParseScaleText(*text, o.value)) {
      problem = std::string(o.name) + " " + ScaleValueProblem(0.0) + ", not '" + *text + "'";
    }
  }
  return problem;
}

}  // namespace acv::cli
