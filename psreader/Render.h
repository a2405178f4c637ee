// The font the page proof draws one character with.
#pragma once

#include "platform/Draw.h"
#include "pscontent/Records.h"

namespace kestrum {

FontRequest CharacterFont(const St_WordInfo& ch, float scale);

}  // namespace kestrum
