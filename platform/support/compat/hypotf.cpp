// The C library's hypotf took a new symbol version in 2.35. Defined here, in
// the programs themselves, the window code's lengths (std::hypot on floats)
// use this one, and the programs keep running on older C libraries.
#include <cmath>

extern "C" float hypotf(float x, float y)
{
    double a = x, b = y;
    if (std::isinf(a) || std::isinf(b))
        return INFINITY;
    return float(std::sqrt(a * a + b * b));
}
