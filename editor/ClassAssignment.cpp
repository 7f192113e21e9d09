#include "ClassAssignment.h"

#include "FileConv.h"
#include "LayoutImport.h"

namespace {

constexpr int kPlainClasses = 38;

} // namespace

std::vector<uint8_t> AssignedClassCounts(int tiles, int setSize)
{
    if (setSize == 2)
        return ImportedClassCounts(tiles);
    std::vector<uint8_t> counts(FileConv::kCountClasses, 0);
    const int sets = tiles / setSize;
    for (int k = 0; k < kPlainClasses; ++k)
        counts[k] = static_cast<uint8_t>((sets / kPlainClasses + (k < sets % kPlainClasses ? 1 : 0)) * setSize);
    return counts;
}
