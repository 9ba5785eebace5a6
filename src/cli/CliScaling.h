#pragma once
// The channel scaling options every subcommand that writes values in
// primary units takes: --ratio-ch1/--ratio-ch2 R and --scale-ch1/--scale-ch2 U,
// over what the settings file keeps.
#include <string>

#include "cli/CliOptions.h"
#include "data/ChannelScaling.h"

namespace acv::cli {

// Takes the four options into `scaling` (which holds the settings' values):
// "" or the usage problem naming the option.
std::string TakeScalingOptions(OptionList& options, ChannelScaling& scaling);

// The options' lines for a subcommand's help.
inline constexpr const char* kScalingHelp =
    "  --ratio-ch1 R, --ratio-ch2 R\n"
    "                     the channel's ratio, primary per secondary (a clamp's\n"
    "                     or transformer's), default from the settings, else 1\n"
    "  --scale-ch1 U, --scale-ch2 U\n"
    "                     volts or amperes per count of the channel's raw\n"
    "                     samples (TR records, waves), default from the\n"
    "                     settings, else 1; both between 1e-06 and 1e+06\n";

}  // namespace acv::cli
