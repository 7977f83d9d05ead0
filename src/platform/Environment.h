#pragma once

// The process environment, as getenv reads it, set and unset the same way on every platform.
// Both copy what they are given.
void SetEnvironment(const char* name, const char* value);
void UnsetEnvironment(const char* name);
