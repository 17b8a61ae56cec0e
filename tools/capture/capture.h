// The capture tool itself, for the front ends that start it: the command-line program, and the web
// page, which hands over the options of its address.
#pragma once

// Runs quorvane-capture with these arguments and returns its exit code.
int CaptureMain(int argc, char** argv);
