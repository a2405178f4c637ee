// Colours of the page lines as 0x00BBGGRR values.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrum {

// Rules and boxes without a colour of their own.
inline constexpr uint32_t kDefaultRuleColour = 0x009B9B9B;

// CMYK percentages (0..100) to a colour; a channel whose ink and black sum leaves
// 0..100 is taken as 100.
uint32_t CmykToColour(int32_t c, int32_t m, int32_t y, int32_t k);
// Four CMYK fractions (0..1) to a colour.
uint32_t FractionsToColour(const float* cmyk);
// The grey level (0 black .. 1 white) of a " sg" operator.
uint32_t GreyToColour(float level);
// A process ink of a Separation colour space ("/Cyan", "/Magenta", "/Yellow", "/Black")
// at tint t; false for any other name.
bool SeparationToColour(std::string_view name, float tint, uint32_t& colour);

}  // namespace kestrum
