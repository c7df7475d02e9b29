// english.cpp: counts with nouns and lists of names.
#include "tools/issue/english.h"

#include "tools/issue/table.h"

namespace issue {

std::u32string english_plural(const std::u32string& noun) {
    const size_t slash = noun.find(U'/');
    if (slash != std::u32string::npos) return noun.substr(slash + 1);
    return noun + U"s";
}

std::u32string english_count(int n, const std::u32string& noun) {
    const size_t slash = noun.find(U'/');
    const std::u32string one = slash == std::u32string::npos ? noun : noun.substr(0, slash);
    if (n == 1) return U"1 " + one;
    return (n == 0 ? std::u32string(U"no") : table_number(n)) + U" " + english_plural(noun);
}

std::u32string english_list(const std::vector<std::u32string>& items) {
    std::u32string out;
    for (size_t i = 0; i < items.size(); i++) {
        if (i > 0) out += i + 1 == items.size() ? U" and " : U", ";
        out += items[i];
    }
    return out;
}

}  // namespace issue
