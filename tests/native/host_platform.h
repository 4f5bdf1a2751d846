#pragma once

#include <map>
#include <string>

// The stand-in environment that expandVariables reads on the host.
extern std::map<std::string, std::string> hostEnvironment;
