// The program's start-up, message loop and shutdown.
#pragma once

// Runs the program; the process's exit status: 0 after a normal end (and after the "copy_cliparts"
// and "install_tscc" switches did their work), 1 when start-up stopped on a problem it reported.
int RunProgram(int argc, char** argv);
