// Random texts shaped like a game's: short ASCII codes, Chinese names, Chinese descriptions
// (now and then over several lines), and catalogue display names.
#pragma once

#include <string>

#include "Random.h"

// "itm_3071"-like, 3 to 12 bytes.
std::string CodeText(Random& random);
// Two to six Chinese characters.
std::string ChineseName(Random& random);
// 8 to 50 characters of Chinese with punctuation and numbers; `lines` lines.
std::string Description(Random& random, int lines);
// Two to five words, Chinese mostly, with an occasional level or count.
std::string DisplayName(Random& random);
