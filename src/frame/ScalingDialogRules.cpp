#include "frame/ScalingDialogRules.h"

#include "data/NumberText.h"

namespace acv {
namespace {

constexpr const char* kNames[kScaleFieldCount] = {"CH1 ratio", "CH1 sample scale", "CH2 ratio",
                                                  "CH2 sample scale"};

double& FieldOf(ChannelScaling& scaling, std::size_t field) {
  ChannelScale& channel = scaling[field / 2];
  return field % 2 == 0 ? channel.ratio : channel.sampleScale;
}

}  // namespace

const char* ScaleFieldName(std::size_t field) {
  return field < kScaleFieldCount ? kNames[field] : "";
}

ScaleTexts ScaleTextsOf(const ChannelScaling& scaling) {
  ChannelScaling copy = scaling;
  ScaleTexts texts;
  // The digits the settings file keeps, so that the dialog shows what is saved.
  for (std::size_t f = 0; f < kScaleFieldCount; ++f) {
    texts[f] = FormatNumber("%.10g", FieldOf(copy, f));
  }
  return texts;
}

ScalingCheck CheckScaleTexts(const ScaleTexts& texts) {
  ScalingCheck check;
  for (std::size_t f = 0; f < kScaleFieldCount; ++f) {
    std::string text = texts[f];
    // Blanks around a typed number are no part of it.
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!ParseScaleText(text, FieldOf(check.scaling, f))) {
      check.problem = std::string("The ") + kNames[f] + " " + ScaleValueProblem(0.0) + ", not '" +
                      texts[f] + "'.";
      check.field = f;
      return check;
    }
  }
  return check;
}

}  // namespace acv
