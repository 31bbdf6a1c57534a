#pragma once
// The program from start to end: the instance test (a second start brings
// the running program forward and ends), private fonts, the toolkit, the
// registered messages, the main window and its loop, then everything torn
// down in reverse. The font system's lists are read on threads beside the
// first steps. Returns 0 on every path.

int RunProgram(int argc, char** argv);
