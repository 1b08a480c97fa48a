// The fixture builder is shared with the benchmarks; the test executable compiles it here.
#include "support/analysis_builder.cpp"
