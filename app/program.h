#pragma once
// The program from start to end: private fonts, the instance test (a second
// start brings the running program forward and ends), the toolkit, the
// registered messages, the main window and its loop, then everything torn
// down in reverse. Returns 0 on every path.

int RunProgram(int argc, char** argv);
