#pragma once
// The scheme lists the benchmarks store: "Scheme 0" to "Scheme <count - 1>",
// as scripts/bench imports them under Wine.
#include <memory>
#include <string>

#include "core/schemes.h"

namespace velbrook::bench {

inline OrderedSchemeList MakeSchemes(int count) {
    OrderedSchemeList list;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        list.Add("Scheme " + n, std::make_unique<PlacesList>(PlacesList{
                                    "C:\\Users\\" + n, "D:\\Work\\" + n, "", "E:\\", ""}));
    }
    return list;
}

} // namespace velbrook::bench
