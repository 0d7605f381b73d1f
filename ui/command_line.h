// The process command line, which the program accepts and ignores.
#ifndef MEADOWBROOKGATE_COMMAND_LINE_H
#define MEADOWBROOKGATE_COMMAND_LINE_H

// Returns what follows the program name and the blanks after it. A name in
// double quotes runs to the closing quote, or to the end of the line when
// there is none.
const char *SkipProgramName(const char *commandLine);

#endif
