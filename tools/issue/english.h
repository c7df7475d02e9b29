// english.h: the English the generated sentences need: counts with their
// noun, and lists of names.
//
//   issue::english_count(1, U"release")       // "1 release"
//   issue::english_count(2, U"music disk")    // "2 music disks"
//   issue::english_count(0, U"newcomer")      // "no newcomers"
//   issue::english_count(3, U"party/parties") // "3 parties": an irregular plural after '/'
//   issue::english_list({U"A", U"B", U"C"})   // "A, B and C"; one name alone; none: ""
#pragma once
#include <string>
#include <vector>

namespace issue {

std::u32string english_plural(const std::u32string& noun);  // "release" -> "releases"
std::u32string english_count(int n, const std::u32string& noun);
std::u32string english_list(const std::vector<std::u32string>& items);

}  // namespace issue
