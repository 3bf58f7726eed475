// A fault of the program itself (never of the user's input): the service layer
// installs a handler that reports it and ends the process with -1.
#pragma once

using FatalFaultHandler = void (*)(const char* what);

void setFatalFaultHandler(FatalFaultHandler handler);
[[noreturn]] void fatalFault(const char* what);
