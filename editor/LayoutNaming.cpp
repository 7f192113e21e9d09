#include "LayoutNaming.h"

std::string FreeLayoutName(const std::string& stem, const std::function<bool(const std::string&)>& taken)
{
    std::string name = stem + ".tvm";
    for (int n = 2; taken(name); ++n)
        name = stem + "-" + std::to_string(n) + ".tvm";
    return name;
}
