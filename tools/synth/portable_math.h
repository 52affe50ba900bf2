#pragma once

namespace talvex::synth {

// e^x from additions, multiplications and an exact power-of-two scaling only, so that every platform gets
// the same bits (the C library's exp may differ in the last bit between implementations). Accurate to a
// few units in the last place; 0 below -746, +inf above 709.78, NaN for NaN.
double PortableExp(double x);

} // namespace talvex::synth
