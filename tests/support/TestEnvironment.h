#pragma once

// Set-up that a test program needs beyond GoogleTest (the UI tests create the application).
void InitTestEnvironment(int& argc, char** argv);
