#pragma once
// The console of a windowed program, for the few lines it prints (--version, --help).

namespace quelt {

// Makes standard output and standard error reach the console that started the program, when
// the program has none of its own (a Windows GUI executable started from a console). Output
// already going to a terminal, file or pipe stays where it goes.
void attachParentConsole();

}  // namespace quelt
