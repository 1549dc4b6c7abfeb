#pragma once
#include <string>
#include <vector>

// Runs one halvora-pack command; returns the exit code. Errors are raised.
int RunPackCommand(const std::vector<std::string>& args);
