#pragma once
// Where a program's start spends its time: when the environment variable
// OT_STARTUP_MARKS names a file, each stage reached appends a line with its
// name and the performance counter's value (comparable across processes) to
// it, which bench/StartupBench.cpp reads. Without the variable nothing is
// written.
void KWMarkStartup(const char* stage);
