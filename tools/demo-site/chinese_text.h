#pragma once

// Made-up Chinese texts for the demo catalogue: titles, pen names, synopses and chapter names in
// the style of web novels. Every result is UTF-8 and made only of characters that GBK holds.

#include <string>

#include "tools/demo-site/seeded_random.h"

namespace lumora::demo {

// 2 to 8 characters.
std::string composeTitle(SeededRandom& random);
// 2 to 4 characters.
std::string composePenName(SeededRandom& random);
// One to three sentences, 60 to 200 characters in all.
std::string composeSynopsis(SeededRandom& random);
// "第N章 " and a short heading.
std::string composeChapterName(SeededRandom& random, int number);

// Characters, not bytes, of a UTF-8 text.
int characterCount(const std::string& utf8);

}  // namespace lumora::demo
