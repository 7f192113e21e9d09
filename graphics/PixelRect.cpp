#include "PixelRect.h"

#include <limits>
#include <string>

#include "NumberedError.h"

namespace {

int32_t CheckedDifference(int32_t high, int32_t low, const char* what)
{
    const int64_t difference = int64_t{high} - int64_t{low};
    if (difference < std::numeric_limits<int32_t>::min() ||
        difference > std::numeric_limits<int32_t>::max()) {
        throw NumberedError(NumberedError::Overflow,
                            std::string("rectangle ") + what + " does not fit in 32 bits");
    }
    return static_cast<int32_t>(difference);
}

}  // namespace

int32_t PixelRect::Width() const
{
    return CheckedDifference(Right, Left, "width");
}

int32_t PixelRect::Height() const
{
    return CheckedDifference(Bottom, Top, "height");
}
