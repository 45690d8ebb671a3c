#include "tests/support/TestEnvironment.h"

void InitTestEnvironment(int&, char**) {}
void FinishTestEnvironment() {}
