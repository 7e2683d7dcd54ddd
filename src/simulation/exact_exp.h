#ifndef SKEDOMAT_SIMULATION_EXACT_EXP_H
#define SKEDOMAT_SIMULATION_EXACT_EXP_H

// exp(x) rounded to the nearest double, computed with nothing but + - * / on
// doubles, so that the result is the same bits on every platform whatever
// its C library's exp does. Meant for results in the normal range of doubles
// (|x| below about 700); each call costs a few hundred operations.
double correctlyRoundedExp(double x);

#endif  // SKEDOMAT_SIMULATION_EXACT_EXP_H
