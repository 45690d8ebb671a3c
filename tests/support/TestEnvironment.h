#pragma once

// Set-up that a test program needs beyond GoogleTest (the UI tests create the application),
// and its end, right after the tests ran or were listed.
void InitTestEnvironment(int& argc, char** argv);
void FinishTestEnvironment();
