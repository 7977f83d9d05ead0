#pragma once

// Sine and cosine of whole 1/32 turns, from a table, for the circular camera and light paths.
// The table is filled by the device set-up before anything can call StepSin or StepCos.

extern double g_sinTable[32]; // sin(i * pi / 16), i = 0..31

void FillSinTable();

// sin(n * pi / 16) for every whole n, negative n included.
double StepSin(int n);
// cos(n * pi / 16), that is StepSin(n + 8).
double StepCos(int n);
